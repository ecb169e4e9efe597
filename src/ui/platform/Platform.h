#pragma once
// The platform services the main window is given. The program passes the
// real ones; tests pass scripted fakes so that no dialog ever blocks.
#include <QString>

namespace mirvane {

class Clipboard;
class FileDialogs;
class HelpViewer;
class Registry;
class Launcher;
class Printing;
class Prompter;
class Settings;

struct Platform {
    Prompter* prompter = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Settings* settings = nullptr;
    Launcher* launcher = nullptr;
    Clipboard* clipboard = nullptr;
    HelpViewer* helpViewer = nullptr;
    Registry* registry = nullptr;
    // Where copies of unsaved work go; empty: none are kept (tests).
    QString recoveryFolder;
    Printing* printing = nullptr;
};

} // namespace mirvane
