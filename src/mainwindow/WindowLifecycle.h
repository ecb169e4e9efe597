#pragma once
// The main window's load and unload: its geometry restored from and stored to
// the settings ("Settings" section, twips), the closing question, the other
// windows closed, and the status bar with the date and time.
#include <QObject>
#include <QRect>
#include <QString>

class QWidget;

class QLabel;
class QStatusBar;

namespace mirvane {

class DocumentCommands;
class Settings;
class WindowSizing;

namespace geometry_keys {
inline const QString kSection = QStringLiteral("Settings");
inline const QString kLeft = QStringLiteral("MainLeft");
inline const QString kTop = QStringLiteral("MainTop");
inline const QString kWidth = QStringLiteral("MainWidth");
inline const QString kHeight = QStringLiteral("MainHeight");
inline const QString kSplitter = QStringLiteral("SplitterLeft");
} // namespace geometry_keys

class WindowLifecycle : public QObject {
    Q_OBJECT
public:
    // `window` is the main window whose geometry is kept.
    WindowLifecycle(QWidget& window, Settings& settings, DocumentCommands& commands, WindowSizing& sizing);

    // Restores the stored geometry (1000, 1000, 6500 x 6500 twips when a value
    // is absent or not a number): the window's outer place and size, with its
    // frame; and the splitter's place.
    void Form_Load();

    // Once the window is shown and its frame known: the inner size that gives
    // the stored outer size.
    void FitFrame();

    // Asks whether to save; false keeps the window open. Otherwise closes the
    // other windows and stores the geometry (outer, with the frame) and the
    // splitter's place unless the window is minimized.
    bool Form_Unload();

    void SetUpStatusBar(QStatusBar* bar);

private:
    int ReadTwips(const QString& key, int fallback);
    void RefreshClock();

    QWidget& window_;
    Settings& settings_;
    DocumentCommands& commands_;
    WindowSizing& sizing_;
    QRect wanted_;
    bool fitted_ = false;
    QLabel* date_ = nullptr;
    QLabel* time_ = nullptr;
};

} // namespace mirvane
