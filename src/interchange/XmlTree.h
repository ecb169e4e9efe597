#pragma once
// A small XML reader for the quiz files a teacher brings: elements with
// attributes and text (entities and CDATA resolved), comments, processing
// instructions and a document type skipped. Anything else is an ImportError
// with its line.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvane {

struct XmlElement {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Attributes;
    std::vector<std::unique_ptr<XmlElement>> Children;
    std::string Text; // the text directly inside, pieces joined
    std::size_t Line = 0;

    // The attribute's value, or empty.
    std::string Attribute(std::string_view name) const;
    // The first child with the name, or null.
    const XmlElement* Child(std::string_view name) const;
    // The text of the child's <text> child (Moodle's way), or empty.
    std::string TextOf(std::string_view child) const;
};

// The root element.
std::unique_ptr<XmlElement> ParseXml(std::string_view xml);

// Text escaped for an XML element or attribute.
std::string XmlEscaped(std::string_view text);

} // namespace mirvane
