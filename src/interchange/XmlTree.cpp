#include "interchange/XmlTree.h"

#include "interchange/ImportedTestBuilder.h"

#include <algorithm>

namespace mirvane {

std::string XmlElement::Attribute(std::string_view name) const
{
    for (const auto& [key, value] : Attributes) {
        if (key == name)
            return value;
    }
    return {};
}

const XmlElement* XmlElement::Child(std::string_view name) const
{
    for (const auto& child : Children) {
        if (child->Name == name)
            return child.get();
    }
    return nullptr;
}

std::string XmlElement::TextOf(std::string_view child) const
{
    const XmlElement* element = Child(child);
    const XmlElement* text = element ? element->Child("text") : nullptr;
    return text ? text->Text : std::string();
}

std::string XmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c;
        }
    }
    return out;
}

namespace {

constexpr int kDeepest = 200;

class XmlParser {
public:
    explicit XmlParser(std::string_view xml) : xml_(xml) {}

    std::unique_ptr<XmlElement> Document()
    {
        if (xml_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        SkipMisc();
        if (pos_ >= xml_.size() || xml_[pos_] != '<')
            Fail("нет корневого элемента");
        auto root = Element(0);
        SkipMisc();
        if (pos_ < xml_.size())
            Fail("текст после корневого элемента");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) { throw ImportError(Line(), what); }

    // The line of pos_, counted on from the last place asked about: the
    // parser only moves forward.
    std::size_t Line()
    {
        const std::size_t to = std::min(pos_, xml_.size());
        if (to < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        line_ += static_cast<std::size_t>(std::count(xml_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                                     xml_.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
        counted_ = to;
        return line_;
    }

    bool StartsWith(std::string_view s) const { return xml_.substr(pos_, s.size()) == s; }

    void SkipTo(std::string_view end, const char* what)
    {
        const std::size_t at = xml_.find(end, pos_);
        if (at == std::string_view::npos)
            Fail(std::string("не закрыт ") + what);
        pos_ = at + end.size();
    }

    void SkipSpace()
    {
        while (pos_ < xml_.size() && (xml_[pos_] == ' ' || xml_[pos_] == '\t' || xml_[pos_] == '\r' || xml_[pos_] == '\n'))
            ++pos_;
    }

    // Space, comments, processing instructions and a document type.
    void SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (StartsWith("<?"))
                SkipTo("?>", "заголовок");
            else if (StartsWith("<!--"))
                SkipTo("-->", "комментарий");
            else if (StartsWith("<!DOCTYPE"))
                SkipTo(">", "DOCTYPE");
            else
                return;
        }
    }

    std::string Name()
    {
        const std::size_t start = pos_;
        while (pos_ < xml_.size()) {
            const char c = xml_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/' || c == '=')
                break;
            ++pos_;
        }
        if (pos_ == start)
            Fail("ожидалось имя");
        return std::string(xml_.substr(start, pos_ - start));
    }

    void AppendText(std::string_view raw, std::string& out)
    {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos || !AppendEntity(raw.substr(i + 1, semicolon - i - 1), out))
                Fail("неизвестная ссылка на символ");
            i = semicolon;
        }
    }

    std::unique_ptr<XmlElement> Element(int depth)
    {
        if (depth > kDeepest)
            Fail("слишком глубокая вложенность");
        auto element = std::make_unique<XmlElement>();
        element->Line = Line();
        ++pos_; // '<'
        element->Name = Name();
        for (;;) {
            SkipSpace();
            if (pos_ >= xml_.size())
                Fail("не закрыт элемент " + element->Name);
            if (StartsWith("/>")) {
                pos_ += 2;
                return element;
            }
            if (xml_[pos_] == '>') {
                ++pos_;
                break;
            }
            std::string key = Name();
            SkipSpace();
            if (pos_ >= xml_.size() || xml_[pos_] != '=')
                Fail("ожидалось = после " + key);
            ++pos_;
            SkipSpace();
            if (pos_ >= xml_.size() || (xml_[pos_] != '"' && xml_[pos_] != '\''))
                Fail("значение атрибута без кавычек");
            const char quote = xml_[pos_++];
            const std::size_t end = xml_.find(quote, pos_);
            if (end == std::string_view::npos)
                Fail("не закрыто значение атрибута");
            std::string value;
            AppendText(xml_.substr(pos_, end - pos_), value);
            pos_ = end + 1;
            element->Attributes.emplace_back(std::move(key), std::move(value));
        }
        for (;;) {
            if (pos_ >= xml_.size())
                Fail("не закрыт элемент " + element->Name);
            if (StartsWith("</")) {
                pos_ += 2;
                if (Name() != element->Name)
                    Fail("закрывающий тег не совпадает с " + element->Name);
                SkipSpace();
                if (pos_ >= xml_.size() || xml_[pos_] != '>')
                    Fail("не закрыт тег " + element->Name);
                ++pos_;
                return element;
            }
            if (StartsWith("<![CDATA[")) {
                pos_ += 9;
                const std::size_t end = xml_.find("]]>", pos_);
                if (end == std::string_view::npos)
                    Fail("не закрыт CDATA");
                element->Text.append(xml_.substr(pos_, end - pos_));
                pos_ = end + 3;
            } else if (StartsWith("<!--")) {
                SkipTo("-->", "комментарий");
            } else if (StartsWith("<?")) {
                SkipTo("?>", "инструкция");
            } else if (xml_[pos_] == '<') {
                element->Children.push_back(Element(depth + 1));
            } else {
                const std::size_t end = std::min(xml_.find('<', pos_), xml_.size());
                AppendText(xml_.substr(pos_, end - pos_), element->Text);
                pos_ = end;
            }
        }
    }

    std::string_view xml_;
    std::size_t pos_ = 0;
    std::size_t counted_ = 0;
    std::size_t line_ = 1;
};

} // namespace

std::unique_ptr<XmlElement> ParseXml(std::string_view xml) { return XmlParser(xml).Document(); }

} // namespace mirvane
