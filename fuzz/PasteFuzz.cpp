// Pastes arbitrary clipboard text into the structure of a document, as the
// editor's Paste does with the tree focused. Beyond not crashing: the
// document stays whole (its order names exactly the items it holds), and the
// bytes it saves read back without a message, with the same structure.
#include "clipboard/ClipboardRecord.h"
#include "document/TestDocument.h"
#include "model/KeyCounter.h"
#include "model/Utf8.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace mirvane;

// The pasted item's key.
std::string Paste(TestDocument& document, const ClipboardRecord& record, const std::string& selected)
{
    if (record.RecordKind == ClipboardRecord::Kind::Question) {
        const DocumentChange change = document.AddQuestion(selected);
        Question& question = document.QuestionAt(change.Key);
        FillQuestion(question, record.Questions.front());
        PassThroughPanel(question); // shown in the panel, stored from it
        return change.Key;
    }
    const DocumentChange added = document.AddDivision(selected);
    Division& division = document.DivisionAt(added.Key);
    if (record.Name)
        division.Name = *record.Name;
    if (record.NQ)
        division.NQ = *record.NQ;
    std::string last = added.Key;
    for (const RecordQuestion& part : record.Questions) {
        const DocumentChange change = document.AddQuestion(last);
        Question& question = document.QuestionAt(change.Key);
        FillQuestion(question, part);
        PassThroughPanel(question);
        last = change.Key;
    }
    return added.Key;
}

void CheckWhole(const TestDocument& document)
{
    const Test& test = document.Model();
    if (document.Order().Divisions.size() != test.Divisions.Count())
        __builtin_trap();
    for (const DocumentOrder::DivisionEntry& entry : document.Order().Divisions) {
        const Division& division = document.DivisionAt(entry.Key);
        if (entry.QuestionKeys.size() != division.Questions.Count())
            __builtin_trap();
        for (const std::string& key : entry.QuestionKeys)
            if (document.ParentOf(key) != entry.Key)
                __builtin_trap();
    }
}

// What the document may hold and the reader reports by design: a tenth
// answer (a record may fill the slot; a file holds nine), and a division
// asking for more questions than it has, none, or more than the reader's 25
// (the structure check warns of each before a save). Only then may the file
// read with messages.
bool HasReportedValues(const TestDocument& document)
{
    for (const DocumentOrder::DivisionEntry& entry : document.Order().Divisions) {
        const int asks = document.DivisionAt(entry.Key).NQ;
        if (asks < 1 || asks > 25 || static_cast<std::size_t>(asks) > entry.QuestionKeys.size())
            return true;
        for (const std::string& key : entry.QuestionKeys)
            if (document.QuestionAt(key).IsAnswerPresent(Question::kAnswerSlots - 1))
                return true;
    }
    return false;
}

// The saved bytes read without a message, as the same divisions with as many
// questions each (a leading empty line of a text is all the file loses).
void CheckRereads(std::string_view saved, const TestDocument& document)
{
    Test test;
    bool messages = false;
    TestFileReader reader(test, [&](const ReaderMessage&) { messages = true; });
    if (!reader.LoadFile(saved) || (messages && !HasReportedValues(document)) ||
        test.Divisions.Count() != document.Order().Divisions.size())
        __builtin_trap();
    for (std::size_t i = 0; i < test.Divisions.Count(); ++i) {
        if (test.Divisions.Item(i + 1).Questions.Count() != document.Order().Divisions[i].QuestionKeys.size())
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Clipboard text reaches the document as UTF-8.
    const std::string text = ToUtf8(ToUtf32(std::string_view(reinterpret_cast<const char*>(data), size)));
    const ClipboardRecord record = ParseClipboardRecord(text);
    if (record.RecordKind == ClipboardRecord::Kind::None)
        return 0;
    ResetKeyNumbers();
    TestDocument document;
    const std::string division = document.AddDivision("").Key;
    document.AddQuestion(division);
    // Pasted twice: onto the division, then onto what the first paste made.
    const std::string first = Paste(document, record, division);
    Paste(document, record, first);
    CheckWhole(document);

    CheckRereads(WriteTestFile(document.Model(), document.Order()), document);
    return 0;
}
