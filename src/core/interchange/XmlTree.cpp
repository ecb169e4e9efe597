#include "interchange/XmlTree.h"

#include "interchange/Interchange.h"
#include "model/CodePage.h"
#include "model/Utf8.h"

#include <expat.h>

#include <algorithm>
#include <cstdint>
#include <cctype>

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
// expat takes an int length: a large file goes in parts, small enough for a
// progress bar to move and a cancel to be heard.
constexpr std::size_t kPart = 256 << 10;

// The single-byte pages Russian exports are written in, beyond those expat
// knows itself.
const CodePage* PageNamed(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251")
        return &CodePage::Windows();
    if (name == "cp866" || name == "ibm866" || name == "866")
        return &CodePage::Dos();
    return nullptr;
}

int XMLCALL UnknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
{
    const CodePage* page = PageNamed(name);
    if (!page)
        return XML_STATUS_ERROR;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string utf8 = page->Decode(std::string(1, static_cast<char>(byte)));
        std::size_t pos = 0;
        const char32_t cp = Utf8Next(utf8, pos);
        info->map[byte] = cp == 0xFFFD || (cp == 0 && byte != 0) ? -1 : static_cast<int>(cp);
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

class XmlReader {
public:
    XmlReader(std::string_view markupIn, bool textInOrder = false, std::size_t mostElements = SIZE_MAX)
        : markupIn_(markupIn), textInOrder_(textInOrder), mostElements_(mostElements), parser_(XML_ParserCreate(nullptr))
    {
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XmlReader::Start, &XmlReader::End);
        XML_SetCharacterDataHandler(parser_, &XmlReader::Characters);
        XML_SetEntityDeclHandler(parser_, &XmlReader::EntityDeclared);
        XML_SetSkippedEntityHandler(parser_, &XmlReader::EntitySkipped);
        XML_SetUnknownEncodingHandler(parser_, &UnknownEncoding, nullptr);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~XmlReader() { XML_ParserFree(parser_); }
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    std::unique_ptr<XmlElement> Read(std::string_view xml, const std::function<void(std::size_t)>& partRead)
    {
        if (!parser_)
            throw ImportError(1, "не хватает памяти");
        if (xml.find_first_not_of(" \t\r\n") == std::string_view::npos)
            throw ImportError(1, "файл пуст");
        std::size_t at = 0;
        do {
            const std::size_t part = std::min(kPart, xml.size() - at);
            const bool last = at + part == xml.size();
            if (XML_Parse(parser_, xml.data() + at, static_cast<int>(part), last) != XML_STATUS_OK)
                Fail();
            at += part;
            if (partRead)
                partRead(at);
        } while (at < xml.size());
        return std::move(root_);
    }

private:
    [[noreturn]] void Fail()
    {
        if (!stopped_.empty())
            throw ImportError(stoppedLine_, stopped_);
        const XML_Error code = XML_GetErrorCode(parser_);
        const auto line = static_cast<std::size_t>(XML_GetCurrentLineNumber(parser_));
        const std::string open = stack_.empty() ? std::string() : " <" + stack_.back()->Name + ">";
        switch (code) {
        case XML_ERROR_NO_ELEMENTS:
            throw ImportError(line, stack_.empty() ? "нет корневого элемента" : "не закрыт элемент" + open);
        case XML_ERROR_TAG_MISMATCH: throw ImportError(line, "закрывающий тег не совпадает с" + open);
        case XML_ERROR_UNCLOSED_TOKEN: throw ImportError(line, "не закрыт тег");
        case XML_ERROR_INVALID_TOKEN: throw ImportError(line, "недопустимый символ или разметка");
        case XML_ERROR_PARTIAL_CHAR: throw ImportError(line, "оборванный символ");
        case XML_ERROR_DUPLICATE_ATTRIBUTE: throw ImportError(line, "атрибут повторён");
        case XML_ERROR_JUNK_AFTER_DOC_ELEMENT: throw ImportError(line, "текст после корневого элемента");
        case XML_ERROR_UNDEFINED_ENTITY: throw ImportError(line, "неизвестная ссылка на символ");
        case XML_ERROR_BAD_CHAR_REF: throw ImportError(line, "недопустимая ссылка на символ");
        case XML_ERROR_UNCLOSED_CDATA_SECTION: throw ImportError(line, "не закрыт CDATA");
        case XML_ERROR_UNKNOWN_ENCODING: throw ImportError(line, "неизвестная кодировка файла");
        case XML_ERROR_INCORRECT_ENCODING: throw ImportError(line, "байты не соответствуют кодировке файла");
        case XML_ERROR_XML_DECL: throw ImportError(line, "ошибка в заголовке XML");
        case XML_ERROR_NO_MEMORY: throw ImportError(line, "не хватает памяти");
        default: throw ImportError(line, std::string("ошибка XML: ") + XML_ErrorString(code));
        }
    }

    void Stop(std::string what)
    {
        if (stopped_.empty()) {
            stopped_ = std::move(what);
            stoppedLine_ = static_cast<std::size_t>(XML_GetCurrentLineNumber(parser_));
        }
        XML_StopParser(parser_, XML_FALSE);
    }

    static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<XmlReader*>(self)->Started(name, attributes);
    }
    static void XMLCALL End(void* self, const XML_Char* name) { static_cast<XmlReader*>(self)->Ended(name); }
    static void XMLCALL Characters(void* self, const XML_Char* text, int length)
    {
        auto& reader = *static_cast<XmlReader*>(self);
        if (reader.stack_.empty())
            return;
        XmlElement& in = *reader.stack_.back();
        if (reader.textInOrder_ && reader.inMarkup_ == 0) {
            if (in.Children.empty() || !in.Children.back()->Name.empty())
                in.Children.push_back(std::make_unique<XmlElement>());
            in.Children.back()->Text.append(text, static_cast<std::size_t>(length));
        } else {
            in.Text.append(text, static_cast<std::size_t>(length));
        }
    }
    static void XMLCALL EntityDeclared(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                       const XML_Char*, const XML_Char*, const XML_Char*)
    {
        static_cast<XmlReader*>(self)->Stop("объявления сущностей не допускаются");
    }
    static void XMLCALL EntitySkipped(void* self, const XML_Char*, int)
    {
        static_cast<XmlReader*>(self)->Stop("неизвестная ссылка на символ");
    }

    void Started(const XML_Char* name, const XML_Char** attributes)
    {
        if (++depth_ > kDeepest) {
            Stop("слишком глубокая вложенность");
            return;
        }
        if (++elements_ > mostElements_) {
            // A limit of the whole file, at no line of it.
            Stop("в документе больше " + std::to_string(mostElements_) +
                 " элементов разметки: такой документ не импортируется");
            stoppedLine_ = 0;
            return;
        }
        if (inMarkup_ > 0) {
            // HTML inside a text element: the tag goes back into its text.
            std::string& text = stack_.back()->Text;
            text += '<';
            text += name;
            for (const XML_Char** a = attributes; *a; a += 2) {
                text += ' ';
                text += a[0];
                text += "=\"";
                text += XmlEscaped(a[1]);
                text += '"';
            }
            text += '>';
            ++inMarkup_;
            return;
        }
        auto element = std::make_unique<XmlElement>();
        element->Name = name;
        element->Line = static_cast<std::size_t>(XML_GetCurrentLineNumber(parser_));
        for (const XML_Char** a = attributes; *a; a += 2)
            element->Attributes.emplace_back(a[0], a[1]);
        if (!markupIn_.empty() && element->Name == markupIn_)
            inMarkup_ = 1;
        XmlElement* added = element.get();
        if (stack_.empty())
            root_ = std::move(element);
        else
            stack_.back()->Children.push_back(std::move(element));
        stack_.push_back(added);
    }

    void Ended(const XML_Char* name)
    {
        --depth_;
        if (inMarkup_ > 1) {
            std::string& text = stack_.back()->Text;
            text += "</";
            text += name;
            text += '>';
            --inMarkup_;
            return;
        }
        inMarkup_ = 0;
        stack_.pop_back();
    }

    std::string_view markupIn_;
    bool textInOrder_;
    std::size_t mostElements_;
    std::size_t elements_ = 0;
    XML_Parser parser_;
    std::unique_ptr<XmlElement> root_;
    std::vector<XmlElement*> stack_;
    int depth_ = 0;
    int inMarkup_ = 0; // depth inside the element named markupIn_, 0 outside
    std::string stopped_;
    std::size_t stoppedLine_ = 0;
};

} // namespace

std::unique_ptr<XmlElement> ParseXml(std::string_view xml, std::string_view markupIn,
                                     const std::function<void(std::size_t done)>& partRead)
{
    return XmlReader(markupIn).Read(xml, partRead);
}

std::unique_ptr<XmlElement> ParseXmlInOrder(std::string_view xml, const std::function<void(std::size_t done)>& partRead,
                                            std::size_t mostElements)
{
    return XmlReader({}, true, mostElements).Read(xml, partRead);
}

} // namespace mirvane
