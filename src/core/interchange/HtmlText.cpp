#include "interchange/HtmlText.h"

#include "interchange/ImportedTestBuilder.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace mirvane {

namespace {

// Named entities teachers' editors write beyond the ones every format knows.
constexpr std::pair<std::string_view, std::string_view> kNamedEntities[] = {
    {"laquo", "«"}, {"raquo", "»"}, {"mdash", "—"}, {"ndash", "–"}, {"hellip", "…"}, {"minus", "−"},
    {"times", "×"}, {"divide", "÷"}, {"le", "≤"},   {"ge", "≥"},    {"ne", "≠"},     {"plusmn", "±"},
    {"deg", "°"},   {"sup2", "²"},  {"sup3", "³"},  {"middot", "·"}, {"bull", "•"},  {"copy", "©"},
    {"reg", "®"},   {"lsquo", "‘"}, {"rsquo", "’"}, {"ldquo", "“"}, {"rdquo", "”"},  {"bdquo", "„"},
    {"euro", "€"},  {"pi", "π"},    {"shy", ""},    {"thinsp", " "}, {"ensp", " "},  {"emsp", " "},
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        if (Lower(text[at + k]) != prefix[k])
            return false;
    }
    return true;
}

bool IsBlock(std::string_view name)
{
    static constexpr std::string_view kBlocks[] = {"p",  "div", "li", "tr", "h1", "h2", "h3",         "h4",
                                                   "h5", "h6",  "ul", "ol", "table", "pre", "blockquote", "hr",
                                                   "dt", "dd"};
    return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

class HtmlReader {
public:
    explicit HtmlReader(std::string_view html, bool breaksKept) : html_(html), breaksKept_(breaksKept) {}

    ShownText Read()
    {
        while (at_ < html_.size()) {
            const char c = html_[at_];
            if (c == '<' && Tag())
                continue;
            if (c == '&' && Entity())
                continue;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                Blank(c);
            else
                shown_.Text += c;
            ++at_;
        }
        return std::move(shown_);
    }

private:
    void TrimSpace()
    {
        while (!shown_.Text.empty() && shown_.Text.back() == ' ')
            shown_.Text.pop_back();
    }
    void LineBreak()
    {
        TrimSpace();
        shown_.Text += '\n';
    }
    // A block starts on a line of its own, without an empty line between.
    void BlockBreak()
    {
        TrimSpace();
        if (!shown_.Text.empty() && shown_.Text.back() != '\n')
            shown_.Text += '\n';
    }

    void Blank(char c)
    {
        std::string& out = shown_.Text;
        if (inPre_ > 0 || breaksKept_) {
            if (c != '\r')
                out += c;
        } else if (!out.empty() && out.back() != ' ' && out.back() != '\n') {
            out += ' ';
        }
    }

    // A tag, comment or declaration at at_, skipped and acted on; false when
    // the "<" opens none and is text.
    bool Tag()
    {
        const std::string_view rest = html_.substr(at_);
        if (rest.substr(0, 4) == "<!--") {
            const std::size_t end = html_.find("-->", at_ + 4);
            at_ = end == std::string_view::npos ? html_.size() : end + 3;
            return true;
        }
        const bool closing = rest.size() > 1 && rest[1] == '/';
        const std::size_t nameAt = at_ + (closing ? 2 : 1);
        if (nameAt >= html_.size() || !(IsAsciiLetter(html_[nameAt]) || (!closing && (html_[nameAt] == '!' || html_[nameAt] == '?'))))
            return false;
        // Once no ">" follows, none follows any later "<" either.
        if (at_ >= noCloseFrom_)
            return false;
        const std::size_t end = html_.find('>', nameAt);
        if (end == std::string_view::npos) {
            noCloseFrom_ = at_;
            return false;
        }
        std::string name;
        for (std::size_t k = nameAt; k < end && (IsAsciiLetter(html_[k]) || std::isdigit(static_cast<unsigned char>(html_[k]))); ++k)
            name += Lower(html_[k]);
        at_ = end + 1;
        if (name == "br" && !closing) {
            LineBreak();
        } else if (IsBlock(name)) {
            BlockBreak();
            if (name == "pre")
                inPre_ = std::max(0, inPre_ + (closing ? -1 : 1));
        } else if (name == "td" || name == "th") {
            Blank(' ');
        } else if (name == "img" && !closing) {
            ++shown_.Images;
        } else if ((name == "script" || name == "style") && !closing) {
            SkipPast("</" + name);
        }
        return true;
    }

    // Past the end tag that begins with `endTag`, or to the end of the text.
    void SkipPast(const std::string& endTag)
    {
        for (std::size_t lt = html_.find('<', at_); lt != std::string_view::npos; lt = html_.find('<', lt + 1)) {
            if (StartsWithNoCase(html_, lt, endTag)) {
                const std::size_t end = html_.find('>', lt);
                at_ = end == std::string_view::npos ? html_.size() : end + 1;
                return;
            }
        }
        at_ = html_.size();
    }

    // An entity at at_, appended and skipped; false when the "&" begins none.
    bool Entity()
    {
        constexpr std::size_t kLongest = 32;
        std::size_t end = at_ + 1;
        while (end < html_.size() && end - at_ <= kLongest &&
               (std::isalnum(static_cast<unsigned char>(html_[end])) || html_[end] == '#'))
            ++end;
        if (end >= html_.size() || html_[end] != ';' || end == at_ + 1)
            return false;
        const std::string_view name = html_.substr(at_ + 1, end - at_ - 1);
        if (!AppendEntity(name, shown_.Text)) {
            const auto* known = std::find_if(std::begin(kNamedEntities), std::end(kNamedEntities),
                                             [&](const auto& entity) { return entity.first == name; });
            if (known == std::end(kNamedEntities))
                return false;
            shown_.Text += known->second;
        }
        at_ = end + 1;
        return true;
    }

    std::string_view html_;
    bool breaksKept_;
    std::size_t at_ = 0;
    std::size_t noCloseFrom_ = std::string_view::npos;
    int inPre_ = 0;
    ShownText shown_;
};

// Markdown's marks taken off, line by line; what remains may hold HTML.
std::string WithoutMarkdown(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (lineStart && c == '#') {
            std::size_t end = text.find_first_not_of('#', i);
            if (end != std::string_view::npos && end - i <= 6 && text[end] == ' ') {
                i = end;
                lineStart = false;
                continue;
            }
        }
        lineStart = c == '\n';
        if ((c == '*' || c == '_') && i + 1 < text.size() && text[i + 1] == c) {
            ++i; // strong emphasis
        } else if (c == '\\' && i + 1 < text.size() && std::ispunct(static_cast<unsigned char>(text[i + 1]))) {
            out += text[++i];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

MoodleTextFormat TextFormatNamed(std::string_view name, MoodleTextFormat absent)
{
    if (name.empty())
        return absent;
    if (name == "moodle_auto_format")
        return MoodleTextFormat::Auto;
    if (name == "plain_text")
        return MoodleTextFormat::Plain;
    if (name == "markdown")
        return MoodleTextFormat::Markdown;
    return MoodleTextFormat::Html;
}

ShownText TextFromHtml(std::string_view html, bool breaksKept) { return HtmlReader(html, breaksKept).Read(); }

ShownText TextInFormat(std::string_view text, MoodleTextFormat format)
{
    switch (format) {
    case MoodleTextFormat::Plain: return {std::string(text), 0};
    case MoodleTextFormat::Auto: return TextFromHtml(text, true);
    case MoodleTextFormat::Markdown: return TextFromHtml(WithoutMarkdown(text), true);
    case MoodleTextFormat::Html:
    default: return TextFromHtml(text, false);
    }
}

} // namespace mirvane
