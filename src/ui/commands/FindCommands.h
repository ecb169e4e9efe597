#pragma once
// What the commands "Найти...", "Найти далее" and "Найти ранее" ask of the
// find bar.
namespace mirvane {

class FindCommands {
public:
    virtual ~FindCommands() = default;
    // Shows the bar with the focus in its text.
    virtual void Open() = 0;
    // Finds the next or previous match; with no text yet, opens the bar.
    // True when something was found.
    virtual bool FindNext() = 0;
    virtual bool FindPrevious() = 0;
};

} // namespace mirvane
