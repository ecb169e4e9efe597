#pragma once
// The window's file dialogs. Each dialog, known by its title, remembers the
// file it last chose: an open dialog starts with it, a save dialog in its
// folder; the name a save dialog offers is its caller's, made from the test.
// A name typed without an extension gets the dialog's default one.
#include <QHash>
#include <QString>

#include <optional>

namespace mirvane {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen path, or nothing when the user cancels. `filter` is in the
    // "Description (*.ext)|*.ext|..." form of the test-file commands.
    std::optional<QString> OpenFile(const QString& title, const QString& filter);
    // A save dialog asks before it replaces an existing file; it adds
    // `defaultSuffix` to a name typed without an extension. It starts with
    // `offered`, a path.
    std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                    const QString& defaultSuffix = QStringLiteral("q"),
                                    const QString& offered = QString());

    // The folder of the file this dialog last chose; empty before it chose one.
    QString LastFolder(const QString& title) const;

protected:
    // Shows the dialog starting with `start` (a path, or empty).
    virtual std::optional<QString> Ask(bool save, const QString& title, const QString& filter, const QString& suffix,
                                       const QString& start) = 0;

private:
    std::optional<QString> Remembered(const QString& title, std::optional<QString> chosen, const QString& suffix);

    QHash<QString, QString> lastChosen_;
};

// Turns "Файлы тестов (*.q)|*.q|Все файлы (*.*)|*.*" into Qt's ";;" form.
QString QtFilter(const QString& filter);

// Adds the default extension (".q" unless told) to a file name that has none.
QString WithDefaultExtension(const QString& path, const QString& suffix = QStringLiteral("q"));

// A file name made of `title` and `suffix`: the characters a file name cannot
// hold on the usual systems become "_", outer blanks and dots go; "Новый" for
// a title left empty.
QString FileNameFromTitle(const QString& title, const QString& suffix);

// `folder`/`name`, or, when that would replace one of `avoid`, the first of
// "name (2).ext", "name (3).ext", ... that would not.
QString PathAvoiding(const QString& folder, const QString& name, const QStringList& avoid);

} // namespace mirvane
