#pragma once
// A copy of the open test for a check that runs beside the editor: the
// editor goes on changing its document while the copy is checked.
#include "document/DocumentObserver.h"
#include "model/DocumentOrder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

namespace mirvane {

class Test;
class TestDocument;

// The test's own fields: title, time, journal and marks.
void CopyTestFields(const Test& from, Test& to);

// The test with its divisions and questions in the document's order (the
// order it is saved in), keys kept, so that findings name the document's
// nodes and come in the order the tree shows them.
std::unique_ptr<Test> CopyInDocumentOrder(const Test& test, const DocumentOrder& order);

struct WorkCopyMirror;

// What changed in the document since the last step was taken: the test's
// own fields and every division's head, the questions changed, and the
// document's order when items came, went or moved. Made on the user's
// thread, it is used on another, where it brings a copy kept there up to date.
class WorkCopyStep {
public:
    // Brings the copy up to date and gives it to `use`; each step once, in
    // the order they were taken, one at a time.
    void Use(const std::function<void(const Test&)>& use);

private:
    friend class WorkCopyKeeper;
    std::shared_ptr<WorkCopyMirror> mirror_;
    std::shared_ptr<Test> changed_;
    std::optional<DocumentOrder> order_;
    bool whole_ = false; // changed_ is the whole test in the document's order
    std::uint64_t number_ = 0;
};

// Follows a document's notices, so that a step holds only what changed: on
// a large test, the user's thread copies a few questions, not all of them.
// The keeper must not outlive the document; its steps may.
class WorkCopyKeeper : public DocumentObserver {
public:
    explicit WorkCopyKeeper(TestDocument& document);
    ~WorkCopyKeeper() override;

    // On the user's thread. `storeShown` stores what the panel shows, typed
    // values included, into the step's test, which holds the node with the
    // key `shownKey`.
    WorkCopyStep TakeStep(const std::string& shownKey, const std::function<void(Test&)>& storeShown);

    void DocumentChanged(const DocumentChange& change) override;

private:
    void NoteQuestion(const std::string& key);

    TestDocument& document_;
    std::shared_ptr<WorkCopyMirror> mirror_;
    std::unordered_set<std::string> changed_;
    bool reordered_ = false;
    std::string lastShown_; // its typed values may since have been dropped
    std::uint64_t taken_ = 0;
    DocumentSubscription subscription_;
};

} // namespace mirvane
