#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace mirvane {

QString QtClipboard::Text() const { return QGuiApplication::clipboard()->text(); }

void QtClipboard::SetText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

} // namespace mirvane
