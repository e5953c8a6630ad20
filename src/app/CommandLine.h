#pragma once

#include "app/Module.h"
#include "editing/MarkingRules.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace twinscan {

// The switch values found in the arguments (without the program's name). A switch is an argument
// that is exactly one of "/i", "/o", "/s", "/c", "/r", "/e", "/t", "/m"; its value is the
// following arguments up to the next switch, joined with single spaces, trimmed of spaces, and
// without the pair of double quotes when one encloses the whole value (other quotes stay: see
// quoteRefusal). Arguments before the first switch are ignored, a repeated switch
// starts over, and an option switch whose value is not "on" or "off" (any letter case) is left
// empty. Without any "/i", "/o" or "/s" argument every field stays empty.
CommandLineRequest parseArguments(const QStringList &arguments);

// True when the request names an input file, an output file and a rule "1", "2" or "3", and the
// input file exists as a file (hidden files count, folders do not).
bool isCompleteJob(const CommandLineRequest &request);

// The file to open in the window at start, as a file manager names it: the one argument when it
// is not a switch, or the value of "/i" when neither "/o" nor "/s" is given, as a full path. Empty
// otherwise. A word beginning with "-" is taken for an option, not a file.
QString fileToOpen(const QStringList &arguments);

// The refusal of a switch value that still holds a double quote (one naming the switch and the
// value, ending in a line break), or empty. Such a quote is part of a name, and removing it would
// name another file.
QString quoteRefusal(const QStringList &arguments);

// A warning for each option switch whose value is ignored because it is not "on" or "off", each
// ending in a line break: "twinscan: /c maybe ignored: expected on or off".
QStringList ignoredOptionWarnings(const QStringList &arguments);

// Replaces module.request with the values from the arguments and decides module.batchMode.
void parseCommandLine(Module &module, const QStringList &arguments);

// Sets each scan and save option whose switch says "on" (1) or "off" (0); an empty switch leaves
// the option as loaded from the settings.
void applyOptionOverrides(Module &module);

// The marking rule that the value of "/s" selects.
std::optional<MarkRule> batchMarkRule(const QString &markRule);

// What the command line asks for. "--help" and "--version" count only as the first argument.
enum class CommandLineKind { Help, Version, Job, NoJob };
CommandLineKind classifyCommandLine(const QStringList &arguments);

// Texts ready to print, each ending in a line break. The version names the program and its version.
QString helpText();
QString versionText();
// The short text for a command line that cannot run without a display.
QString usageText();
// What to say when the command line cannot run without a display: that the input file named by
// "/i", or alone, does not exist, or is a folder; otherwise the usage text.
QString refusalText(const QStringList &arguments);

// The environment variables that tell whether a window can be shown (empty means not set), and
// whether the display they name answers.
struct DisplayEnvironment
{
    QString display;
    QString waylandDisplay;
    QString qpaPlatform;
    bool opens = true;

    // Reads the variables and asks the named display.
    static DisplayEnvironment current();
};

// What main() must do before the application object exists: run a job on the offscreen platform,
// or refuse a command line that would wait for a window nobody can see, when no display is named
// or the named one does not answer. A platform other than X or Wayland named in QT_QPA_PLATFORM
// is the user's choice. Help and version need neither; they are printed before any window is
// made.
struct DisplayDecision
{
    bool runOffscreen = false;
    bool refuseWithUsage = false;

    bool operator==(const DisplayDecision &) const = default;
};
DisplayDecision decideDisplay(const QStringList &arguments, const DisplayEnvironment &environment);

} // namespace twinscan
