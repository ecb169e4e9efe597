#pragma once
// The platform services the main window is given. The program passes the
// real ones; tests pass scripted fakes so that no dialog ever blocks.
#include <QString>

#include <functional>
#include <memory>

namespace mirvane {

class Clipboard;
class FileDialogs;
class HelpViewer;
class Registry;
class Launcher;
class Printing;
class Prompter;
class Settings;
class SpellChecker;

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
    // Reads the spelling dictionaries (on another thread); none: spelling
    // is off, as on a machine without them (tests that do not spell).
    std::function<std::unique_ptr<SpellChecker>()> dictionaries;
};

} // namespace mirvane
