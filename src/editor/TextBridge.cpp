#include "editor/TextBridge.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace mirvane {

QString ToQt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToModel(const QString& text) { return text.toStdString(); }

void SetBoxText(QPlainTextEdit* box, std::string_view modelText)
{
    QString text = ToQt(modelText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(text);
}

std::string BoxText(const QPlainTextEdit* box)
{
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToModel(text);
}

} // namespace mirvane
