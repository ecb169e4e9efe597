#pragma once
// Keeps the main window's parts in step with its size: the tree on the left,
// the splitter strip, the editing container Pane on the right with its scroll
// bar, the two titles above them. Lets the user drag the splitter.
#include <QObject>

#include <functional>

class QLabel;
class QScrollBar;
class QWidget;

namespace mirvane {

class WindowSizing : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinimumWindow = 6000;   // width and height, twips
    static constexpr int kInitialSplitter = 1965; // tree width at start
    static constexpr int kTitlesHeight = 300;
    static constexpr int kLayoutMargin = 1500;    // splitter range on release
    static constexpr int kDragMargin = 500;       // splitter range while dragging

    struct Parts {
        QWidget* window;     // the main window: its width is the window width
        QWidget* client;     // the area below the toolbar, above the status bar
        QWidget* picTitles;
        QLabel* title0;
        QLabel* title1;
        QWidget* tree;
        QWidget* imgSplitter;
        QWidget* picSplitter;
        QWidget* pane;
        QScrollBar* vScroll;
    };

    WindowSizing(const Parts& parts, std::function<void()> layOutForm);

    // The window's resize: enforces the minimum size, then lays the parts out
    // around the splitter's current place.
    void FitToWindow();

    // Lays the parts out with the tree `x` twips wide, clamped in place to
    // 1500 from either edge of the window.
    void SizeControls(double& x);

    void SplitterPressed();
    void SplitterDragged(int x); // twips from the strip's left edge
    void SplitterReleased();
    bool SplitterMoving() const { return splitterMoving_; }

    // A bar shown at the bottom of the pane while it is visible (the find bar).
    void KeepBelowPane(QWidget* bar) { bottomBar_ = bar; }

    // The splitter's place: the tree's width, twips.
    int SplitterLeft() const;
    // Moves the splitter there, within the layout's limits.
    void SetSplitterLeft(int twips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int WindowWidth() const;

    Parts parts_;
    std::function<void()> layOutForm_;
    bool splitterMoving_ = false;
    QWidget* bottomBar_ = nullptr;
};

} // namespace mirvane
