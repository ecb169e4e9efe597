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
// Qt's saveGeometry(), in base64.
inline const QString kGeometry = QStringLiteral("MainGeometry");
} // namespace geometry_keys

class WindowLifecycle : public QObject {
    Q_OBJECT
public:
    // `window` is the main window whose geometry is kept.
    WindowLifecycle(QWidget& window, Settings& settings, DocumentCommands& commands, WindowSizing& sizing);

    // Restores the stored geometry: Qt's record of the window when there is
    // one (its frame's place and size, its screen, maximized or not), else
    // the twips (1000, 1000, 6500 x 6500 when a value is absent or not a
    // number) for the outer place and size; and the splitter's place.
    void RestoreOnStart();

    // From the twips alone, once the window manager has framed the window
    // (called at every move and resize until then): the inner size that
    // gives the stored outer size.
    void FitFrame();

    // Asks whether to save; false keeps the window open. Otherwise closes the
    // other windows and stores the geometry (Qt's record, and the outer
    // place and size in twips) and the splitter's place unless the window is
    // minimized.
    bool ConfirmClose();

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
