// Feeds arbitrary bytes to the importers of marked questions. The first byte
// picks what the rest is: a marked text, a whole .docx or .odt archive, or
// the XML of a document packed into an archive here (so that the search
// reaches the readers of Word's and OpenDocument's markup, not only the zip
// reader). Beyond not crashing: whatever was imported, written as marked
// text, imports again as the same questions with the same scores.
#include "interchange/Interchange.h"
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every question's text, answers and scores, division by division.
std::vector<std::string> Contents(const mirvane::Test& test)
{
    std::vector<std::string> out;
    for (const mirvane::Division& d : test.Divisions) {
        out.push_back("# " + d.Name);
        for (const mirvane::Question& q : d.Questions) {
            out.emplace_back(q.Q());
            for (int a = 0; a < mirvane::Question::kAnswerSlots; ++a) {
                if (q.IsAnswerPresent(a))
                    out.push_back(std::string(q.AGet(a)) + " " + std::to_string(q.AScoreGet(a)));
            }
        }
    }
    return out;
}

// The bytes as the one part of an archive.
std::string Packed(const std::string& name, std::string_view bytes)
{
    std::string archive;
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_source_keep(memory);
    zip_t* zip = zip_open_from_source(memory, ZIP_TRUNCATE, nullptr);
    if (zip) {
        zip_file_add(zip, name.c_str(), zip_source_buffer(zip, bytes.data(), bytes.size(), 0), 0);
        if (zip_close(zip) == 0 && zip_source_open(memory) == 0) {
            char buffer[64 * 1024];
            for (zip_int64_t read; (read = zip_source_read(memory, buffer, sizeof buffer)) > 0;)
                archive.append(buffer, static_cast<std::size_t>(read));
            zip_source_close(memory);
        }
    }
    zip_source_free(memory);
    return archive;
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
        switch (data[0] % 5) {
        case 0: imported = mirvane::ImportMarkedText(input, "f"); break;
        case 1: imported = mirvane::ImportDocx(input, "f"); break;
        case 2: imported = mirvane::ImportOdt(input, "f"); break;
        case 3: imported = mirvane::ImportDocx(Packed("word/document.xml", input), "f"); break;
        default: imported = mirvane::ImportOdt(Packed("content.xml", input), "f"); break;
        }
    } catch (const mirvane::ImportError&) {
        return 0;
    }
    const mirvane::Test& test = *imported.Read;
    if (imported.NoteLines.size() > imported.Notes.size())
        __builtin_trap();
    if (test.Divisions.Count() == 0)
        return 0;
    const std::string marked = mirvane::ExportMarkedText(test, mirvane::DocumentOrder::FromCollections(test));
    try {
        mirvane::ResetKeyNumbers();
        if (Contents(*mirvane::ImportMarkedText(marked, "f").Read) != Contents(test))
            __builtin_trap();
    } catch (const mirvane::ImportError&) {
        __builtin_trap(); // our own export must always read back
    }
    return 0;
}
