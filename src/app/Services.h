#pragma once

namespace twinscan {

class Clock;
class FileDialogService;
class MessageBoxService;
class RecentlyUsed;
class SettingsStore;
class ShellService;

// Everything the main window asks of the desktop that a test must be able to script.
struct Services
{
    MessageBoxService *messages = nullptr;
    FileDialogService *dialogs = nullptr;
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    ShellService *shell = nullptr;
    RecentlyUsed *recentlyUsed = nullptr; // the desktop's list of recent files
};

} // namespace twinscan
