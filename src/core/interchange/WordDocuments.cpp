// Word (.docx) and OpenDocument (.odt) files: the paragraphs of the text,
// with their lines, their list levels and their bold or underlined type, read
// for the marks; tables, pictures and formulas are named and left out.
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"
#include "interchange/MarkedParagraphs.h"
#include "interchange/XmlTree.h"
#include "interchange/ZipArchive.h"

#include "model/Test.h"

#include <algorithm>
#include <map>
#include <optional>

namespace mirvane {

namespace {

const std::string kTableLeftOut = "таблица не перенесена";
const std::string kPictureLeftOut = "рисунок не перенесён";
const std::string kFormulaLeftOut = "формула не перенесена";
const std::string kObjectLeftOut = "вставленный объект не перенесён";

// Gathers a paragraph's text run by run.
class ParagraphText {
public:
    explicit ParagraphText(int listLevel) { paragraph_.ListLevel = listLevel; }

    void Text(std::string_view text, bool bold, bool underlined)
    {
        line_ += text;
        if (text.find_first_not_of(" \t\u00A0") != std::string_view::npos) {
            letters_ = true;
            bold_ = bold_ && bold;
            underlined_ = underlined_ && underlined;
        }
    }
    void Break()
    {
        paragraph_.Lines.push_back({std::move(line_), letters_ && (bold_ || underlined_)});
        line_.clear();
        letters_ = false;
        bold_ = underlined_ = true;
    }
    void LeftOut(const std::string& what)
    {
        if (std::find(paragraph_.LeftOut.begin(), paragraph_.LeftOut.end(), what) == paragraph_.LeftOut.end())
            paragraph_.LeftOut.push_back(what);
    }
    MarkedParagraph Done()
    {
        Break();
        // A paragraph that only held a picture is no blank line.
        const bool blank = std::all_of(paragraph_.Lines.begin(), paragraph_.Lines.end(),
                                       [](const MarkedLine& l) { return l.Text.find_first_not_of(" \t") == std::string::npos; });
        if (blank && !paragraph_.LeftOut.empty())
            paragraph_.Lines.clear();
        return std::move(paragraph_);
    }

private:
    MarkedParagraph paragraph_;
    std::string line_;
    bool letters_ = false;
    bool bold_ = true;
    bool underlined_ = true;
};

MarkedParagraph TableParagraph()
{
    MarkedParagraph table;
    table.LeftOut.push_back(kTableLeftOut);
    return table;
}

// The first half of the progress is reading the XML, the second the marks.
ImportProgress Half(const ImportProgress& progress, bool second)
{
    if (!progress)
        return {};
    return [&progress, second](std::size_t done, std::size_t total) {
        return progress(second ? total + done : done, total * 2);
    };
}

std::unique_ptr<XmlElement> ReadPart(const ZipArchive& zip, const std::string& name, const std::string& missing,
                                     const ImportProgress& progress)
{
    const std::optional<std::string> xml = zip.Part(name, kDocumentPartLimit);
    if (!xml)
        throw ImportError(0, missing);
    const ImportProgress half = Half(progress, false);
    ProgressTicker ticker(half, xml->size());
    try {
        return ParseXmlInOrder(*xml, [&](std::size_t done) { ticker.At(done); });
    } catch (const ImportError& e) {
        if (e.Line() == 0)
            throw; // too large, not broken
        throw ImportError(0, "документ повреждён (" + name + ", строка " + std::to_string(e.Line()) + "): " + e.what());
    }
}

ImportedTest ImportParagraphs(const std::vector<MarkedParagraph>& paragraphs, const std::string& fileStem,
                              const ImportProgress& progress)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    builder.ForMarkedDocument(true);
    for (const MarkedParagraph& paragraph : paragraphs) {
        std::string shown;
        for (const MarkedLine& line : paragraph.Lines)
            shown += (shown.empty() ? "" : "\n") + line.Text;
        for (const std::string& what : paragraph.LeftOut)
            shown += (shown.empty() ? "[" : " [") + what + "]";
        result.SourceLines.push_back(std::move(shown));
    }
    const ImportProgress half = Half(progress, true);
    ReadMarkedParagraphs(paragraphs, builder, half);
    builder.Finish();
    return result;
}

// --- Word -----------------------------------------------------------------

bool WordOn(const XmlElement* property)
{
    if (!property)
        return false;
    const std::string value = property->Attribute("w:val");
    return value != "0" && value != "false" && value != "off" && value != "none";
}

class WordReader {
public:
    void Body(const XmlElement& body)
    {
        for (const auto& child : body.Children) {
            if (child->Name == "w:p")
                Paragraph(*child);
            else if (child->Name == "w:tbl")
                paragraphs_.push_back(TableParagraph());
            else if (child->Name == "w:sdt" || child->Name == "w:sdtContent" || child->Name == "w:customXml")
                Body(*child); // a content control holds paragraphs of its own
        }
    }

    std::vector<MarkedParagraph> Paragraphs() { return std::move(paragraphs_); }

private:
    void Paragraph(const XmlElement& p)
    {
        int level = -1;
        if (const XmlElement* properties = p.Child("w:pPr")) {
            if (const XmlElement* numbering = properties->Child("w:numPr")) {
                const XmlElement* id = numbering->Child("w:numId");
                const XmlElement* ilvl = numbering->Child("w:ilvl");
                // numId 0 takes the numbering off.
                if (!id || id->Attribute("w:val") != "0") {
                    level = 0;
                    if (ilvl)
                        level = std::clamp(std::atoi(ilvl->Attribute("w:val").c_str()), 0, 8);
                }
            }
        }
        ParagraphText text(level);
        Runs(p, text);
        paragraphs_.push_back(text.Done());
    }

    void Runs(const XmlElement& parent, ParagraphText& text)
    {
        for (const auto& child : parent.Children) {
            const std::string& name = child->Name;
            if (name == "w:r")
                Run(*child, text);
            else if (name == "m:oMath" || name == "m:oMathPara")
                text.LeftOut(kFormulaLeftOut);
            else if (name == "mc:AlternateContent")
                text.LeftOut(kPictureLeftOut); // a shape or a drawing, with its older form
            else if (name == "w:del" || name == "w:pPr" || name == "w:moveFrom" || name.empty())
                continue; // deleted in a tracked change, or no text
            else
                Runs(*child, text); // hyperlinks, insertions, fields, smart tags
        }
    }

    void Run(const XmlElement& r, ParagraphText& text)
    {
        bool bold = false;
        bool underlined = false;
        if (const XmlElement* properties = r.Child("w:rPr")) {
            bold = WordOn(properties->Child("w:b"));
            underlined = WordOn(properties->Child("w:u"));
        }
        for (const auto& child : r.Children) {
            const std::string& name = child->Name;
            if (name == "w:t") {
                for (const auto& piece : child->Children)
                    text.Text(piece->Text, bold, underlined);
            } else if (name == "w:tab") {
                text.Text("\t", bold, underlined);
            } else if (name == "w:br" || name == "w:cr") {
                text.Break();
            } else if (name == "w:noBreakHyphen") {
                text.Text("-", bold, underlined);
            } else if (name == "w:drawing" || name == "w:pict" || name == "mc:AlternateContent") {
                text.LeftOut(kPictureLeftOut);
            } else if (name == "w:object") {
                text.LeftOut(kObjectLeftOut);
            } else if (name == "m:oMath" || name == "m:oMathPara") {
                text.LeftOut(kFormulaLeftOut);
            }
        }
    }

    std::vector<MarkedParagraph> paragraphs_;
};

// --- OpenDocument ---------------------------------------------------------

struct OdfStyle {
    std::optional<bool> Bold;
    std::optional<bool> Underlined;
    std::string Parent;
};

struct Emphasis {
    bool Bold = false;
    bool Underlined = false;
};

class OdfReader {
public:
    void Styles(const XmlElement& styles)
    {
        for (const auto& style : styles.Children) {
            if (style->Name != "style:style")
                continue;
            OdfStyle read;
            read.Parent = style->Attribute("style:parent-style-name");
            if (const XmlElement* properties = style->Child("style:text-properties")) {
                const std::string weight = properties->Attribute("fo:font-weight");
                if (!weight.empty())
                    read.Bold = weight == "bold" || (std::atoi(weight.c_str()) >= 600);
                const std::string underline = properties->Attribute("style:text-underline-style");
                if (!underline.empty())
                    read.Underlined = underline != "none";
            }
            styles_[style->Attribute("style:name")] = std::move(read);
        }
    }

    void Body(const XmlElement& body, int listDepth)
    {
        for (const auto& child : body.Children) {
            const std::string& name = child->Name;
            if (name == "text:p" || name == "text:h")
                Paragraph(*child, -1);
            else if (name == "text:list")
                List(*child, listDepth + 1);
            else if (name == "table:table")
                paragraphs_.push_back(TableParagraph());
            else if (name == "text:section")
                Body(*child, listDepth);
            else if (name == "draw:frame" || name == "draw:custom-shape") {
                ParagraphText picture(-1);
                Frame(*child, picture);
                paragraphs_.push_back(picture.Done());
            }
        }
    }

    std::vector<MarkedParagraph> Paragraphs() { return std::move(paragraphs_); }

private:
    void List(const XmlElement& list, int depth)
    {
        // Deeper than the question and answer levels reads as answers.
        for (const auto& item : list.Children) {
            if (item->Name != "text:list-item" && item->Name != "text:list-header")
                continue;
            bool numbered = item->Name == "text:list-item";
            for (const auto& child : item->Children) {
                if (child->Name == "text:p" || child->Name == "text:h") {
                    // Only an item's first paragraph carries its number.
                    Paragraph(*child, numbered ? depth - 1 : -1);
                    numbered = false;
                } else if (child->Name == "text:list") {
                    List(*child, depth + 1);
                } else if (child->Name == "table:table") {
                    paragraphs_.push_back(TableParagraph());
                }
            }
        }
    }

    Emphasis Styled(const std::string& name, Emphasis inherited) const
    {
        std::optional<bool> bold;
        std::optional<bool> underlined;
        std::string at = name;
        // A style's own setting wins over its parents'; a loop of parents ends.
        for (int depth = 0; depth < 16 && !at.empty(); ++depth) {
            const auto it = styles_.find(at);
            if (it == styles_.end())
                break;
            if (!bold)
                bold = it->second.Bold;
            if (!underlined)
                underlined = it->second.Underlined;
            at = it->second.Parent;
        }
        return {bold.value_or(inherited.Bold), underlined.value_or(inherited.Underlined)};
    }

    void Paragraph(const XmlElement& p, int level)
    {
        ParagraphText text(level);
        Spans(p, Styled(p.Attribute("text:style-name"), {}), text);
        paragraphs_.push_back(text.Done());
    }

    void Spans(const XmlElement& parent, Emphasis emphasis, ParagraphText& text)
    {
        for (const auto& child : parent.Children) {
            const std::string& name = child->Name;
            if (name.empty()) {
                // Blanks in the markup count once, as the word processor shows them.
                std::string collapsed;
                for (char c : child->Text) {
                    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
                    if (!blank)
                        collapsed += c;
                    else if (collapsed.empty() || collapsed.back() != ' ')
                        collapsed += ' ';
                }
                text.Text(collapsed, emphasis.Bold, emphasis.Underlined);
            } else if (name == "text:s") {
                const int count = std::clamp(std::atoi(child->Attribute("text:c").c_str()), 1, 1000);
                text.Text(std::string(static_cast<std::size_t>(count), ' '), emphasis.Bold, emphasis.Underlined);
            } else if (name == "text:tab") {
                text.Text("\t", emphasis.Bold, emphasis.Underlined);
            } else if (name == "text:line-break") {
                text.Break();
            } else if (name == "text:span") {
                Spans(*child, Styled(child->Attribute("text:style-name"), emphasis), text);
            } else if (name == "draw:frame" || name == "draw:custom-shape" || name == "draw:a") {
                Frame(*child, text);
            } else if (name == "text:note" || name == "office:annotation" || name == "text:tracked-changes" ||
                       name == "text:number") {
                continue; // footnotes, comments, and the list's number as last shown
            } else {
                Spans(*child, emphasis, text); // links, fields, bookmarks
            }
        }
    }

    static void Frame(const XmlElement& frame, ParagraphText& text)
    {
        for (const auto& child : frame.Children) {
            if (child->Name == "draw:object" || child->Name == "draw:object-ole") {
                text.LeftOut(kFormulaLeftOut);
                return;
            }
            if (child->Name == "draw:frame" || child->Name == "draw:a") {
                Frame(*child, text);
                return;
            }
        }
        text.LeftOut(kPictureLeftOut);
    }

    std::map<std::string, OdfStyle> styles_;
    std::vector<MarkedParagraph> paragraphs_;
};

const XmlElement* Path(const XmlElement* element, std::initializer_list<std::string_view> names)
{
    for (std::string_view name : names) {
        if (!element)
            return nullptr;
        element = element->Child(name);
    }
    return element;
}

} // namespace

ImportedTest ImportDocx(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress)
{
    std::vector<MarkedParagraph> paragraphs;
    {
        const ZipArchive zip(bytes);
        const auto root = ReadPart(zip, "word/document.xml",
                                   "в архиве нет word/document.xml: это не документ Word (.docx)", progress);
        const XmlElement* body = Path(root.get(), {"w:body"});
        if (root->Name != "w:document" || !body)
            throw ImportError(0, "в word/document.xml нет текста документа Word");
        WordReader reader;
        reader.Body(*body);
        paragraphs = reader.Paragraphs();
    }
    return ImportParagraphs(paragraphs, fileStem, progress);
}

ImportedTest ImportOdt(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress)
{
    std::vector<MarkedParagraph> paragraphs;
    {
        const ZipArchive zip(bytes);
        const std::optional<std::string> type = zip.Part("mimetype", 4096);
        if (type && type->rfind("application/vnd.oasis.opendocument.text", 0) != 0)
            throw ImportError(0, "это не текстовый документ OpenDocument (.odt), а " + type->substr(0, 100));
        const auto root = ReadPart(zip, "content.xml", "в архиве нет content.xml: это не документ OpenDocument (.odt)",
                                   progress);
        const XmlElement* text = Path(root.get(), {"office:body", "office:text"});
        if (root->Name != "office:document-content" || !text)
            throw ImportError(0, "в content.xml нет текста документа OpenDocument");
        OdfReader reader;
        if (const XmlElement* styles = root->Child("office:automatic-styles"))
            reader.Styles(*styles);
        reader.Body(*text, 0);
        paragraphs = reader.Paragraphs();
    }
    return ImportParagraphs(paragraphs, fileStem, progress);
}

} // namespace mirvane
