#pragma once
// What the document tells its observers after each change: what changed,
// where, and for a move its old and new place. A view follows these notices
// instead of being told by whoever made the change.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mirvane {

// The fields a Set operation changes, each of one kind of node.
enum class DocumentField {
    None,
    TestName,
    TestTime,
    ShowErrors,
    LogType,
    LogFile,
    Mark, // a description and its score, in slot `Slot`
    DivisionName,
    DivisionCount,
    QuestionText,
    Answer, // slot `Slot`
    Score,  // slot `Slot`
};

struct DocumentChange {
    enum class Kind { None, Added, Removed, Moved, Edited };
    Kind What = Kind::None;
    std::string Key;       // the division or question added, removed, moved or
                           // edited; empty for a field of the test itself
    std::string Parent;    // a question's division; empty for a division
    std::size_t Index = 0; // its place among its siblings, from 0: after an add
                           // or a move where it now stands, after a removal
                           // where it stood
    std::size_t From = 0;  // a move's old place
    std::string FromParent = {}; // a moved question's old division
    DocumentField Field = DocumentField::None;
    int Slot = 0;

    explicit operator bool() const { return What != Kind::None; }
};

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Called after the change was made: the document already shows it.
    virtual void DocumentChanged(const DocumentChange& change) = 0;
};

// Keeps an observer listening; dropping it (or moving a new one in) ends
// that. It may outlive the document it came from.
class DocumentSubscription {
public:
    DocumentSubscription() = default;
    DocumentSubscription(std::weak_ptr<std::vector<DocumentObserver*>> list, DocumentObserver* observer)
        : list_(std::move(list)), observer_(observer)
    {
    }
    DocumentSubscription(DocumentSubscription&& other) noexcept
        : list_(std::move(other.list_)), observer_(std::exchange(other.observer_, nullptr))
    {
    }
    DocumentSubscription& operator=(DocumentSubscription&& other) noexcept
    {
        if (this != &other) {
            End();
            list_ = std::move(other.list_);
            observer_ = std::exchange(other.observer_, nullptr);
        }
        return *this;
    }
    DocumentSubscription(const DocumentSubscription&) = delete;
    DocumentSubscription& operator=(const DocumentSubscription&) = delete;
    ~DocumentSubscription() { End(); }

private:
    void End()
    {
        if (auto list = list_.lock())
            std::erase(*list, observer_);
        list_.reset();
        observer_ = nullptr;
    }

    std::weak_ptr<std::vector<DocumentObserver*>> list_;
    DocumentObserver* observer_ = nullptr;
};

// The document's list of observers.
class DocumentNotices {
public:
    DocumentSubscription Subscribe(DocumentObserver& observer)
    {
        list_->push_back(&observer);
        return {list_, &observer};
    }
    void Tell(const DocumentChange& change) const
    {
        // A copy: an observer may end its subscription while it is told.
        const std::vector<DocumentObserver*> observers = *list_;
        for (DocumentObserver* observer : observers) {
            if (std::find(list_->begin(), list_->end(), observer) != list_->end())
                observer->DocumentChanged(change);
        }
    }

private:
    std::shared_ptr<std::vector<DocumentObserver*>> list_ = std::make_shared<std::vector<DocumentObserver*>>();
};

} // namespace mirvane
