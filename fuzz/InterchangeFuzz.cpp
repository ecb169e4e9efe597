// Feeds arbitrary bytes to the importers (the first byte picks Moodle XML,
// GIFT or Aiken). Beyond not crashing: whatever was imported, exported again
// to each format, imports without an error, with as many questions; from
// Moodle XML, when nothing was left out or replaced, and through GIFT, with
// the same texts.
#include "interchange/Interchange.h"
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::size_t Questions(const mirvane::Test& test)
{
    std::size_t count = 0;
    for (const mirvane::Division& d : test.Divisions)
        count += d.Questions.Count();
    return count;
}

// Every question's text and answers, in the order read.
std::vector<std::string> Texts(const mirvane::Test& test)
{
    std::vector<std::string> texts;
    for (const mirvane::Division& d : test.Divisions) {
        for (const mirvane::Question& q : d.Questions) {
            texts.emplace_back(q.Q());
            for (int a = 0; a < mirvane::Question::kAnswerSlots; ++a) {
                if (q.IsAnswerPresent(a))
                    texts.emplace_back(q.AGet(a));
            }
        }
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    mirvane::ResetKeyNumbers();
    mirvane::ImportedTest imported;
    try {
        switch (data[0] % 3) {
        case 0: imported = mirvane::ImportMoodleXml(input, "f"); break;
        case 1: imported = mirvane::ImportGift(input, "f"); break;
        default: imported = mirvane::ImportAiken(input, "f"); break;
        }
    } catch (const mirvane::ImportError&) {
        return 0;
    }
    const mirvane::Test& test = *imported.Read;
    const std::size_t questions = Questions(test);
    if (questions == 0)
        return 0; // an export of nothing is no file to read back
    const mirvane::DocumentOrder order = mirvane::DocumentOrder::FromCollections(test);
    try {
        const mirvane::QuizExport xml = mirvane::ExportMoodleXml(test, order);
        if (static_cast<std::size_t>(xml.Skipped) < questions) {
            const mirvane::ImportedTest xmlBack = mirvane::ImportMoodleXml(xml.Text, "f");
            if (Questions(*xmlBack.Read) + static_cast<std::size_t>(xml.Skipped) != questions)
                __builtin_trap();
            if (xml.Notes.empty() && Texts(*xmlBack.Read) != Texts(test))
                __builtin_trap();
        }
        const mirvane::QuizExport gift = mirvane::ExportGift(test, order);
        if (gift.Skipped == 0 && Texts(*mirvane::ImportGift(gift.Text, "f").Read) != Texts(test))
            __builtin_trap();
        if (gift.Skipped > 0 && static_cast<std::size_t>(gift.Skipped) < questions &&
            Questions(*mirvane::ImportGift(gift.Text, "f").Read) + static_cast<std::size_t>(gift.Skipped) != questions)
            __builtin_trap();
        const mirvane::QuizExport aiken = mirvane::ExportAiken(test, order);
        if (static_cast<std::size_t>(aiken.Skipped) < questions &&
            Questions(*mirvane::ImportAiken(aiken.Text, "f").Read) + static_cast<std::size_t>(aiken.Skipped) != questions)
            __builtin_trap();
    } catch (const mirvane::ImportError&) {
        __builtin_trap(); // our own export must always read back
    }
    return 0;
}
