#pragma once
// The XML of the quiz files a teacher brings, read by expat into a small
// tree: elements with attributes and text (the five predefined entities,
// character references and CDATA resolved). A declared entity, a reference
// to an undeclared one and nesting deeper than 200 elements are refused, so
// no file can make the reader expand text or fetch anything. The encoding
// declaration is honoured: UTF-8, UTF-16 with its byte-order mark,
// ISO-8859-1, windows-1251 and code page 866. Anything else is an
// ImportError with its line.
#include <functional>
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

// The root element. Inside an element named `markupIn` the elements are no
// children: they are written back as tags into its Text, so that HTML put
// there without CDATA keeps its words. `partRead`, when given, hears how many
// bytes have been read after each part; what it throws ends the reading.
std::unique_ptr<XmlElement> ParseXml(std::string_view xml, std::string_view markupIn = {},
                                     const std::function<void(std::size_t done)>& partRead = {});
// The same for a document's mixed text and markup: each piece of text
// becomes a child of an empty name, in its place among the elements. More
// than `mostElements` elements are an ImportError: a small archive can hold
// more tiny elements than the memory has room for as a tree.
std::unique_ptr<XmlElement> ParseXmlInOrder(std::string_view xml, const std::function<void(std::size_t done)>& partRead,
                                            std::size_t mostElements = 3'000'000);

// Text escaped for an XML element or attribute.
std::string XmlEscaped(std::string_view text);

} // namespace mirvane
