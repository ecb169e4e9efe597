#include "mainwindow/BestAnswerMarks.h"

#include "mainwindow/EditPanels.h"
#include "model/Number.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <optional>

namespace mirvane {

namespace {
const QString kBest = QStringLiteral("правильный");
} // namespace

BestAnswerMarks::BestAnswerMarks(EditPanels& panels)
    : QObject(panels.Pane()), panels_(panels), plain_(panels.TextAnswer[0]->palette()), best_(plain_)
{
    best_.setColor(QPalette::Base, QColor(0xd4, 0xf0, 0xc8));
    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        panels_.TextQMark[i]->setPlaceholderText(QStringLiteral("0"));
        connect(panels_.TextQMark[i], &QLineEdit::textChanged, this, &BestAnswerMarks::Refresh);
        connect(panels_.TextAnswer[i], &QPlainTextEdit::textChanged, this, &BestAnswerMarks::Refresh);
    }
}

void BestAnswerMarks::Refresh()
{
    // The score of each row that has an answer; a blank score is 0, and a
    // score that is not a number takes no part.
    std::array<std::optional<int>, EditPanels::kAnswerRows> scores{};
    std::optional<int> best;
    int present = 0;
    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        if (panels_.TextAnswer[i]->toPlainText().trimmed().isEmpty())
            continue;
        ++present;
        const QString score = panels_.TextQMark[i]->text();
        const auto value = score.trimmed().isEmpty() ? std::optional<std::int16_t>(0) : ReadNumber(score.toStdString());
        if (!value)
            continue;
        scores[static_cast<std::size_t>(i)] = *value;
        best = best ? std::max(*best, static_cast<int>(*value)) : *value;
    }
    // Answers that all score the same name no right one yet.
    int atBest = 0;
    for (const auto& score : scores)
        atBest += score && score == best ? 1 : 0;
    const bool distinct = atBest > 0 && (present == 1 || atBest < present);
    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        const auto& score = scores[static_cast<std::size_t>(i)];
        const bool marked = distinct && score && score == best;
        for (QWidget* box : {static_cast<QWidget*>(panels_.TextQMark[i]), static_cast<QWidget*>(panels_.TextAnswer[i])}) {
            box->setPalette(marked ? best_ : plain_);
            box->setAccessibleDescription(marked ? kBest : QString());
        }
    }
}

} // namespace mirvane
