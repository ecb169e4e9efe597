#pragma once
// Texts between the model (UTF-8, lines joined with CR LF) and the widgets
// (QString, lines joined with LF).
#include <QString>

#include <string>
#include <string_view>

class QPlainTextEdit;

namespace mirvane {

QString ToQt(std::string_view text);
std::string ToModel(const QString& text);

// Multi-line boxes: CR LF in the model, LF in the box. The box's raw text is
// used, so a no-break space stays what it is.
QString ToBoxLines(std::string_view modelText);   // CR LF to LF
std::string FromBoxLines(const QString& boxLines); // LF to CR LF
// Every line break a user can type or paste (CR LF, a lone CR, Qt's
// paragraph separator from Enter and line separator from Shift+Enter) as LF.
QString WithLfBreaks(const QString& text);
QString BoxLines(const QPlainTextEdit* box);       // the box's text, LF breaks
void SetBoxText(QPlainTextEdit* box, std::string_view modelText);
std::string BoxText(const QPlainTextEdit* box);

} // namespace mirvane
