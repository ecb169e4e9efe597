#include "windows/ImportPreviewWindow.h"

#include "platform/TextBridge.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mirvane {

ImportPreviewWindow::ImportPreviewWindow(const ImportedTest& imported, const QString& fileName, QWidget* parent)
    : QDialog(parent), noteLines_(imported.NoteLines)
{
    setObjectName(QStringLiteral("frmImportPreview"));
    setWindowTitle(QStringLiteral("Импорт: %1").arg(fileName));
    noteLines_.resize(imported.Notes.size(), 0);

    const std::vector<ImportedDivision> overview = ImportOverview(*imported.Read);
    std::size_t questions = 0;
    std::size_t withoutRight = 0;
    Divisions = new QTreeWidget(this);
    Divisions->setObjectName(QStringLiteral("Divisions"));
    Divisions->setHeaderLabels({QStringLiteral("Раздел"), QStringLiteral("Вопросов")});
    for (const ImportedDivision& division : overview) {
        auto* item = new QTreeWidgetItem(Divisions, {ToQt(division.Name), QString::number(division.Questions)});
        for (const std::string& caption : division.WithoutRightAnswer) {
            auto* marked = new QTreeWidgetItem(item, {QStringLiteral("без верного ответа: «%1»").arg(ToQt(caption))});
            marked->setForeground(0, QBrush(Qt::darkRed));
        }
        item->setExpanded(!division.WithoutRightAnswer.empty());
        questions += division.Questions;
        withoutRight += division.WithoutRightAnswer.size();
    }
    Divisions->resizeColumnToContents(0);

    Summary = new QLabel(
        QStringLiteral("Разделов: %1, вопросов: %2, без верного ответа: %3, пропущено вопросов: %4")
            .arg(overview.size())
            .arg(questions)
            .arg(withoutRight)
            .arg(imported.Skipped),
        this);
    Summary->setObjectName(QStringLiteral("Summary"));

    LeftOut = new QListWidget(this);
    LeftOut->setObjectName(QStringLiteral("LeftOut"));
    for (const std::string& note : imported.Notes)
        LeftOut->addItem(ToQt(note));
    connect(LeftOut, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { ShowPlace(LeftOut->row(item)); });

    // One line per place, so that a note's number is the line's.
    Source = new QPlainTextEdit(this);
    Source->setObjectName(QStringLiteral("Source"));
    Source->setReadOnly(true);
    Source->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    lines.reserve(static_cast<int>(imported.SourceLines.size()));
    for (const std::string& line : imported.SourceLines)
        lines << ToQt(line).replace(QLatin1Char('\n'), QStringLiteral(" ¶ "));
    Source->setPlainText(lines.join(QLatin1Char('\n')));

    ImportButton = new QPushButton(import_preview_text::kImport, this);
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    ImportButton->setDefault(true);
    CancelButton = new QPushButton(import_preview_text::kCancel, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(ImportButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(Divisions);
    auto* notes = new QWidget;
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(new QLabel(QStringLiteral("Пропущено и замечания (двойной щелчок — показать в файле):")));
    notesLayout->addWidget(LeftOut);
    top->addWidget(notes);
    auto* parts = new QSplitter(Qt::Vertical);
    parts->addWidget(top);
    parts->addWidget(Source);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ImportButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(parts, 1);
    layout->addLayout(buttons);
    resize(900, 600);
}

void ImportPreviewWindow::ShowPlace(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= noteLines_.size() || noteLines_[row] == 0)
        return;
    const QTextBlock block = Source->document()->findBlockByNumber(static_cast<int>(noteLines_[row]) - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Source->setTextCursor(cursor);
    Source->centerCursor();
    Source->setFocus();
}

} // namespace mirvane
