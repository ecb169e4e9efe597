#pragma once
// The look at an import before the document changes: the divisions with
// their numbers of questions, the questions without a right answer marked,
// and every line left out with its reason; a double-click on one shows its
// place in the file. "Импортировать" accepts, "Отмена" rejects.
#include "interchange/Interchange.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace mirvane {

namespace import_preview_text {
inline const QString kImport = QStringLiteral("Импортировать");
inline const QString kCancel = QStringLiteral("Отмена");
} // namespace import_preview_text

class ImportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    ImportPreviewWindow(const ImportedTest& imported, const QString& fileName, QWidget* parent);

    QLabel* Summary = nullptr;
    QTreeWidget* Divisions = nullptr;
    QListWidget* LeftOut = nullptr;
    QPlainTextEdit* Source = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Selects the line (or paragraph) of the note in row `row` in Source.
    void ShowPlace(int row);

private:
    std::vector<std::size_t> noteLines_;
};

} // namespace mirvane
