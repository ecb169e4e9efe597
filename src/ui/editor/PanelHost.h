#pragma once
// What the editor's parts need of the window that shows the document and its
// editing panel, and nothing more.
#include <memory>

namespace mirvane {

class TestDocument;

class PanelHost {
public:
    virtual ~PanelHost() = default;

    // The selection procedure: stores the shown panel into its item, makes
    // the selected node current, fills and lays out its panel.
    virtual void ShowSelectedNode() = 0;

    // Fills the panel again from the current node's item.
    virtual void Data2Form() = 0;

    // Replaces the document and shows it: tree rebuilt, the parameters
    // current, their panel filled and laid out, the caption from the title.
    virtual void ShowDocument(std::unique_ptr<TestDocument> document) = 0;

    // Stores what is typed in the panel (the selection procedure) and gives
    // the document: everything that saves, exports, checks or previews
    // starts here.
    virtual TestDocument& CommittedDocument() = 0;
};

} // namespace mirvane
