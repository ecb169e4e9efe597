#pragma once
// The red wavy line under the unknown words of a multi-line box. Each line
// of the box is marked alone, so a keystroke marks only the line it changed.
#include <QSyntaxHighlighter>

#include <functional>
#include <utility>
#include <vector>

namespace mirvane {

class SpellingHighlighter : public QSyntaxHighlighter {
public:
    // `unknown` gives the unknown words of a line as (start, length) in
    // UTF-16 positions; nothing when the underlining is off.
    using UnknownWords = std::function<std::vector<std::pair<int, int>>(const QString& line)>;
    SpellingHighlighter(QTextDocument* document, UnknownWords unknown);

protected:
    void highlightBlock(const QString& text) override;

private:
    UnknownWords unknown_;
};

} // namespace mirvane
