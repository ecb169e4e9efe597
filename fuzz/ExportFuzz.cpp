// Exports arbitrary tests as the HTML page, as text in both code pages with
// each content choice, and as the print sheet. Beyond not crashing, each
// output is what it promises to be: the page and the windows-1251 text hold
// no byte that page leaves undefined, the print sheet is valid UTF-8.
#include "FuzzedTest.h"
#include "export/HtmlExport.h"
#include "export/PrintSheet.h"
#include "export/TextExport.h"
#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Utf8.h"
#include "Utf8Check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Windows-1251 has a character for every byte but 0x98.
void CheckWindows1251(std::string_view bytes)
{
    if (bytes.find('\x98') != std::string_view::npos)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    mirvane::fuzzing::FuzzedBytes in(data, size);
    const std::string chosenPath = in.Text();
    const auto content = static_cast<mirvane::TextContent>(in.Byte() % 4);
    mirvane::Test test;
    mirvane::fuzzing::FillTest(test, in);
    const mirvane::DocumentOrder order = mirvane::DocumentOrder::FromCollections(test);

    CheckWindows1251(mirvane::WriteHtmlPage(test, order, chosenPath));
    CheckWindows1251(mirvane::WriteTextExport(test, order, content, mirvane::CodePage::Windows()));
    mirvane::WriteTextExport(test, order, content, mirvane::CodePage::Dos()); // every byte is a 866 character
    mirvane::fuzzing::CheckUtf8(mirvane::PrintSheetHtml(test, order, content));
    return 0;
}
