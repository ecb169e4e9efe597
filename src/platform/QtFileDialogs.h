#pragma once
#include "platform/FileDialogs.h"

class QWidget;

namespace mirvane {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> OpenFile(const QString& title, const QString& filter) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                    const QString& defaultSuffix) override;

private:
    std::optional<QString> Run(bool save, const QString& title, const QString& filter, const QString& suffix);

    QWidget* parent_;
    QString lastName_;
};

} // namespace mirvane
