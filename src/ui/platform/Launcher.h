#pragma once
// Starts another program, detached and never through a shell.
#include <QString>
#include <QStringList>

namespace mirvane {

class Launcher {
public:
    virtual ~Launcher() = default;
    // False when the program could not be started.
    virtual bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;
};

class QtLauncher : public Launcher {
public:
    bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
};

} // namespace mirvane
