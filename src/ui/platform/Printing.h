#pragma once
// Printing goes through here: the print dialog and the print preview are
// windows of their own, which tests replace with a recording fake.
#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace mirvane {

using PagePainter = std::function<void(QPagedPaintDevice& device)>;

class Printing {
public:
    virtual ~Printing() = default;
    // The print dialog, then `paint` on the printer chosen. False when the
    // user cancels.
    virtual bool Print(QWidget* parent, const PagePainter& paint) = 0;
    // The print preview, which paints the pages as it needs them.
    virtual void Preview(QWidget* parent, const PagePainter& paint) = 0;
};

// Qt's print dialog and print preview.
class QtPrinting : public Printing {
public:
    bool Print(QWidget* parent, const PagePainter& paint) override;
    void Preview(QWidget* parent, const PagePainter& paint) override;
};

} // namespace mirvane
