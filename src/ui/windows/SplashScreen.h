#pragma once
// The splash window shown for about a second before the main window: product
// picture, title, version, platform and date. It closes itself by its timer
// and does not react to clicks or keys.
#include <QDialog>
#include <QPixmap>

class QLabel;
class QTimer;

namespace mirvane {

class SplashScreen : public QDialog {
    Q_OBJECT
public:
    static constexpr int kInterval = 1000; // ms

    explicit SplashScreen(QWidget* parent = nullptr);

    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblDate = nullptr;
    QTimer* Timer = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
};

// The product picture, also the program's icon.
QPixmap ProductPicture(int size = 96);

// "Linux" or "WIN32": the platform the program was built for.
QString BuildPlatformName();

} // namespace mirvane
