#include "mainwindow/SpellingHighlighter.h"

#include "mainwindow/PanelSpelling.h"

namespace mirvane {

SpellingHighlighter::SpellingHighlighter(QTextDocument* document, UnknownWords unknown)
    : QSyntaxHighlighter(document), unknown_(std::move(unknown))
{
}

void SpellingHighlighter::highlightBlock(const QString& text)
{
    const QTextCharFormat mark = PanelSpelling::MarkFormat();
    for (const auto& [start, length] : unknown_(text))
        setFormat(start, length, mark);
}

} // namespace mirvane
