#include "model/TextLines.h"

#include "model/CodePage.h"
#include "model/Misc.h"

namespace mirvane {

void AppendFileLine(std::string& out, std::string_view asciiLine)
{
    out.append(asciiLine);
    out.append(kCrLf);
}

void AppendFileLine(std::string& out, std::string_view text, const CodePage& page)
{
    page.EncodeAppend(out, text);
    out.append(kCrLf);
}

} // namespace mirvane
