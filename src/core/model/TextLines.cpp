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

EncodedLine& EncodedLine::operator<<(std::string_view piece)
{
    page_.EncodeAppend(out_, piece);
    return *this;
}

EncodedLine& EncodedLine::operator<<(int number)
{
    out_.append(std::to_string(number));
    return *this;
}

void EncodedLine::End() { out_.append(kCrLf); }

} // namespace mirvane
