#pragma once
// The window's one shared file dialog: it starts with the name chosen last,
// in either kind of dialog, and adds ".q" to a name typed without an extension.
#include <QString>

#include <optional>

namespace mirvane {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen path, or nothing when the user cancels. `filter` is in the
    // "Description (*.ext)|*.ext|..." form of the test-file commands.
    virtual std::optional<QString> OpenFile(const QString& title, const QString& filter) = 0;
    // A save dialog asks before it replaces an existing file; it adds
    // `defaultSuffix` to a name typed without an extension.
    virtual std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                            const QString& defaultSuffix = QStringLiteral("q")) = 0;
};

// Turns "Файлы тестов (*.q)|*.q|Все файлы (*.*)|*.*" into Qt's ";;" form.
QString QtFilter(const QString& filter);

// Adds the default extension (".q" unless told) to a file name that has none.
QString WithDefaultExtension(const QString& path, const QString& suffix = QStringLiteral("q"));

} // namespace mirvane
