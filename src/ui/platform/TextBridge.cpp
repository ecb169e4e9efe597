#include "platform/TextBridge.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace mirvane {

QString ToQt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToModel(const QString& text) { return text.toStdString(); }

QString ToBoxLines(std::string_view modelText) { return WithLfBreaks(ToQt(modelText)); }

std::string FromBoxLines(const QString& boxLines)
{
    QString text = boxLines;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToModel(text);
}

QString WithLfBreaks(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar& c : lines) {
        if (c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return lines;
}

QString BoxLines(const QPlainTextEdit* box) { return WithLfBreaks(box->document()->toRawText()); }

void SetBoxText(QPlainTextEdit* box, std::string_view modelText) { box->setPlainText(ToBoxLines(modelText)); }

std::string BoxText(const QPlainTextEdit* box) { return FromBoxLines(BoxLines(box)); }

} // namespace mirvane
