#pragma once

#include "ui/WindowPlacement.h"

#include <QSize>
#include <QString>
#include <QtGlobal>

namespace twinscan {

class SettingsStore;
struct Module;
struct UsageStatistics;

// Reads every key into the module's records, each with its default. The default positions centre
// the windows on a primary screen of the given size in twips.
void loadSettings(const SettingsStore &store, Module &module, QSize primaryScreenTwips);

// Writes the records back. A minimised main window leaves its stored placement alone; a normal
// one first takes its present position into the record.
void saveSettings(SettingsStore &store, Module &module, const WindowSnapshot &mainWindow);

// The five counters as the About window shows them, one "Label: value" line each.
QString statisticsText(const UsageStatistics &statistics);

} // namespace twinscan
