#pragma once
// What the editor would look up in the system registry on Windows: where the
// system-information tool is.
#include <QString>

#include <optional>

namespace mirvane {

class Settings;

class Registry {
public:
    virtual ~Registry() = default;
    // The tool's full path, or nothing when there is none.
    virtual std::optional<QString> SystemInfoTool() = 0;
};

// The stand-in on Linux: the program's settings first ("Settings" /
// "SysInfoPath"), then the first system-information program of a Linux
// desktop found on the PATH.
class QtRegistry : public Registry {
public:
    explicit QtRegistry(Settings& settings) : settings_(settings) {}
    std::optional<QString> SystemInfoTool() override;

private:
    Settings& settings_;
};

} // namespace mirvane
