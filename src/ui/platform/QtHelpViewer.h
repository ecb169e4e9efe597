#pragma once
#include "platform/HelpViewer.h"

#include <QPointer>

class QWidget;

namespace mirvane {

class HelpWindow;

// The help pages in a window of their own: contents, back and forward, and a
// search of the pages; one window, brought forward at the topic asked for.
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void ShowTopic(const QString& folder, const QString& topic) override;

private:
    QWidget* parent_;
    QPointer<HelpWindow> window_;
};

} // namespace mirvane
