#pragma once
// The help window: the program's own pages, opened at a topic.
#include <QString>

namespace mirvane {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows the page `topic` (a file name) of the help in `folder`.
    virtual void ShowTopic(const QString& folder, const QString& topic) = 0;
};

} // namespace mirvane
