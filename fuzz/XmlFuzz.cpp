// Feeds any bytes to the XML reader alone (the first byte picks whether a
// <text> element keeps its markup as text). Beyond not crashing: a file is
// read or refused with an ImportError, the tree holds only UTF-8, and it
// grows no more than a few times the file, so that no construct makes the
// reader expand text.
#include "Utf8Check.h"
#include "interchange/Interchange.h"
#include "interchange/XmlTree.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

// The bytes the tree holds, every one checked as UTF-8 on the way.
std::size_t TreeBytes(const mirvane::XmlElement& element)
{
    std::size_t bytes = element.Name.size() + element.Text.size();
    mirvane::fuzzing::CheckUtf8(element.Name);
    mirvane::fuzzing::CheckUtf8(element.Text);
    for (const auto& [name, value] : element.Attributes) {
        mirvane::fuzzing::CheckUtf8(name);
        mirvane::fuzzing::CheckUtf8(value);
        bytes += name.size() + value.size();
    }
    for (const auto& child : element.Children)
        bytes += TreeBytes(*child);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view xml(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::unique_ptr<mirvane::XmlElement> root;
    try {
        root = mirvane::ParseXml(xml, data[0] & 1 ? "text" : "");
    } catch (const mirvane::ImportError&) {
        return 0;
    }
    // A single-byte page takes up to 3 bytes of UTF-8 a byte, and markup
    // written back as text escapes a quote in 6.
    if (!root || TreeBytes(*root) > 8 * xml.size())
        __builtin_trap();
    return 0;
}
