#include "document/WorkCopy.h"

#include "document/TestDocument.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace mirvane {

void CopyTestFields(const Test& from, Test& to)
{
    to.TestName = from.TestName;
    to.TestTime = from.TestTime;
    to.ShowErrors = from.ShowErrors;
    to.LogType = from.LogType;
    to.LogFile = from.LogFile;
    for (int i = 0; i < Test::kMarkSlots; ++i) {
        to.MarkScoresSet(i, from.MarkScoresGet(i));
        to.MarkDiscriptionsSet(i, from.MarkDiscriptionsGet(i));
    }
}

namespace {

std::unique_ptr<Division> HeadOf(const Division& from)
{
    auto division = std::make_unique<Division>();
    division->NQ = from.NQ;
    division->Name = from.Name;
    return division;
}

} // namespace

std::unique_ptr<Test> CopyInDocumentOrder(const Test& test, const DocumentOrder& order)
{
    auto copy = std::make_unique<Test>();
    CopyTestFields(test, *copy);
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& from = test.Divisions.Item(entry.Key);
        auto division = HeadOf(from);
        for (std::size_t i = 0; i < entry.QuestionKeys.size(); ++i)
            division->Questions.Add(entry.QuestionKeys[i],
                                    std::make_unique<Question>(QuestionInOrder(from, entry.QuestionKeys, i)));
        copy->Divisions.Add(entry.Key, std::move(division));
    }
    return copy;
}

// The copy kept on the checking thread, with its items by key.
struct WorkCopyMirror {
    std::mutex Lock;
    std::shared_ptr<Test> Copy;
    std::unordered_map<std::string, Division*> Divisions;
    std::unordered_map<std::string, Question*> Questions;
    // The last step brought in whole; 0 when the copy is not to be trusted.
    std::atomic<std::uint64_t> Applied{0};

    void Index()
    {
        Divisions.clear();
        Questions.clear();
        for (Division& d : Copy->Divisions) {
            Divisions.emplace(d.Key, &d);
            for (Question& q : d.Questions)
                Questions.emplace(q.Key, &q);
        }
    }
};

void WorkCopyStep::Use(const std::function<void(const Test&)>& use)
{
    WorkCopyMirror& m = *mirror_;
    const std::lock_guard<std::mutex> lock(m.Lock);
    bool complete = true;
    if (whole_ || !m.Copy) {
        m.Copy = std::move(changed_);
        m.Index();
    } else if (order_) {
        // Items came, went or moved: the copy is made up again in the new
        // order, each question moved over from the old copy unless it changed.
        auto next = std::make_shared<Test>();
        CopyTestFields(*changed_, *next);
        for (const DocumentOrder::DivisionEntry& entry : order_->Divisions) {
            if (!changed_->Divisions.Contains(entry.Key)) {
                complete = false;
                continue;
            }
            Division& head = changed_->Divisions.Item(entry.Key);
            auto division = HeadOf(head);
            for (const std::string& key : entry.QuestionKeys) {
                Question* from = nullptr;
                if (head.Questions.Contains(key)) {
                    from = &head.Questions.Item(key);
                } else if (const auto kept = m.Questions.find(key); kept != m.Questions.end()) {
                    from = kept->second;
                } else {
                    complete = false;
                    continue;
                }
                division->Questions.Add(key, std::make_unique<Question>(std::move(*from)));
            }
            next->Divisions.Add(entry.Key, std::move(division));
        }
        m.Copy = std::move(next);
        m.Index();
    } else {
        CopyTestFields(*changed_, *m.Copy);
        for (Division& head : changed_->Divisions) {
            const auto kept = m.Divisions.find(head.Key);
            if (kept == m.Divisions.end()) {
                complete = false;
                continue;
            }
            kept->second->Name = std::move(head.Name);
            kept->second->NQ = head.NQ;
            for (Question& q : head.Questions) {
                const auto question = m.Questions.find(q.Key);
                if (question == m.Questions.end())
                    complete = false;
                else
                    *question->second = std::move(q);
            }
        }
    }
    changed_.reset();
    // A copy missing something is used as it is, and the next step is whole.
    m.Applied = complete ? number_ : 0;
    use(*m.Copy);
}

WorkCopyKeeper::WorkCopyKeeper(TestDocument& document)
    : document_(document), mirror_(std::make_shared<WorkCopyMirror>()), subscription_(document.Subscribe(*this))
{
}

WorkCopyKeeper::~WorkCopyKeeper() = default;

void WorkCopyKeeper::NoteQuestion(const std::string& key)
{
    if (KindOf(key) == NodeKind::Question)
        changed_.insert(key);
}

void WorkCopyKeeper::DocumentChanged(const DocumentChange& change)
{
    switch (change.What) {
    case DocumentChange::Kind::Added:
        reordered_ = true;
        if (KindOf(change.Key) == NodeKind::Division) {
            for (const std::string& key : document_.QuestionKeys(change.Key))
                changed_.insert(key);
        } else {
            NoteQuestion(change.Key);
        }
        break;
    case DocumentChange::Kind::Removed:
    case DocumentChange::Kind::Moved:
        reordered_ = true;
        break;
    case DocumentChange::Kind::Edited:
        NoteQuestion(change.Key); // the test's fields and the divisions' heads go with every step
        break;
    case DocumentChange::Kind::None:
        break;
    }
}

WorkCopyStep WorkCopyKeeper::TakeStep(const std::string& shownKey, const std::function<void(Test&)>& storeShown)
{
    WorkCopyStep step;
    step.mirror_ = mirror_;
    step.number_ = ++taken_;
    // Whole when the step before was not brought in: the copy lacks it.
    step.whole_ = taken_ == 1 || mirror_->Applied != taken_ - 1;
    if (step.whole_) {
        step.changed_ = CopyInDocumentOrder(document_.Model(), document_.Order());
    } else {
        NoteQuestion(shownKey);
        NoteQuestion(lastShown_);
        auto changed = std::make_shared<Test>();
        CopyTestFields(document_.Model(), *changed);
        for (const DocumentOrder::DivisionEntry& entry : document_.Order().Divisions)
            changed->Divisions.Add(entry.Key, HeadOf(document_.DivisionAt(entry.Key)));
        for (const std::string& key : changed_) {
            if (!document_.Contains(key))
                continue; // gone since
            const std::string& division = document_.ParentOf(key);
            changed->Divisions.Item(division).Questions.Add(key, std::make_unique<Question>(document_.QuestionAt(key)));
        }
        if (reordered_)
            step.order_ = document_.Order();
        step.changed_ = std::move(changed);
    }
    storeShown(*step.changed_);
    changed_.clear();
    reordered_ = false;
    lastShown_ = shownKey;
    return step;
}

} // namespace mirvane
