#pragma once
// The toolbar: one button per key, in order, with separators between the
// groups. A click runs the first operation whose key matches; any failure
// of that operation is swallowed and the program goes on.
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QToolBar;

namespace mirvane {

class MainToolbar : public QObject {
    Q_OBJECT
public:
    struct Button {
        QString Key;      // empty: a separator
        QString ToolTip;
        std::function<void()> Run;
    };

    MainToolbar(QToolBar* bar, std::vector<Button> buttons);

    // The toolbar's click handler.
    void tbToolBar_ButtonClick(const QString& key);

    QAction* Action(const QString& key) const;

private:
    QToolBar* bar_;
    std::vector<Button> buttons_;
};

} // namespace mirvane
