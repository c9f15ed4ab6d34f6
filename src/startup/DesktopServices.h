#pragma once

class ArgumentText;
class Clipboard;
class FileAccess;
class FileOpenDialog;
class FileWatch;
class MessageBox;
class PollTimer;
class SettingsStore;

// The desktop as the main window reaches it. main() hands in the real implementations, tests
// hand in fakes; every reference must outlive the window.
struct DesktopServices
{
    FileAccess &files;
    MessageBox &messages;
    FileOpenDialog &dlgOpen;
    Clipboard &clipboard;
    SettingsStore &settings;
    ArgumentText &arguments;
    PollTimer &tmrCheck;
    FileWatch &watch;
};
