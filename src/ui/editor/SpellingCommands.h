#pragma once
// What the commands "Орфография..." and "Проверять орфографию при вводе"
// ask of the panel's spelling.
#include <QString>

#include <functional>

namespace mirvane {

class SpellingCommands {
public:
    virtual ~SpellingCommands() = default;
    // The walk through the test's unknown words.
    virtual void ShowWalk() = 0;
    virtual bool Underlining() const = 0;
    virtual void SetUnderlining(bool on) = 0;
    // Empty while the commands work (the dictionaries there, or still being
    // read); otherwise why not, naming the package to install.
    virtual QString Unavailable() const = 0;
    // `changed` runs when the dictionaries have been read.
    virtual void FollowDictionaries(std::function<void()> changed) = 0;
};

} // namespace mirvane
