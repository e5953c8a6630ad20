#pragma once

#include <QSize>
#include <QtGlobal>

namespace twinscan {

class SettingsStore;
struct Module;

// What the main window looks like at the moment the settings are saved: its state
// (windowStateNormal, windowStateMinimised or windowStateMaximised) and the position of its outer
// frame in twips.
struct WindowSnapshot
{
    qint16 state = 0;
    qint64 left = 0;
    qint64 top = 0;
};

// Reads every key into the module's records, each with its default. The default positions centre
// the windows on a primary screen of the given size in twips.
void loadSettings(const SettingsStore &store, Module &module, QSize primaryScreenTwips);

// Writes the records back. A minimised main window leaves its stored placement alone; a normal
// one first takes its present position into the record.
void saveSettings(SettingsStore &store, Module &module, const WindowSnapshot &mainWindow);

} // namespace twinscan
