#pragma once
#include "platform/FileDialogs.h"

class QWidget;

namespace mirvane {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

protected:
    std::optional<QString> Ask(bool save, const QString& title, const QString& filter, const QString& suffix,
                               const QString& start) override;

private:
    QWidget* parent_;
};

} // namespace mirvane
