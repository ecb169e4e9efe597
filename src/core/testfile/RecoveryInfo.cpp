#include "testfile/RecoveryInfo.h"

#include "model/Json.h"
#include "model/Utf8.h"

#include <optional>

namespace mirvane {

namespace {

// A strict JSON reader for one object whose string members are kept. Values
// nest no deeper than a written info file could want, so that no file can
// exhaust the stack.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<RecoveryInfo> Object()
    {
        RecoveryInfo info;
        Blanks();
        if (!Take('{'))
            return std::nullopt;
        Blanks();
        if (!Take('}')) {
            do {
                Blanks();
                std::string key;
                if (!String(key))
                    return std::nullopt;
                Blanks();
                if (!Take(':'))
                    return std::nullopt;
                Blanks();
                std::string value;
                const bool isString = Peek() == '"';
                if (isString ? !String(value) : !Value(1))
                    return std::nullopt;
                // The last of a repeated member counts, as for any reader.
                if (key == "file")
                    info.File = value;
                else if (key == "savedAt")
                    info.SavedAt = value;
                Blanks();
            } while (Take(','));
            if (!Take('}'))
                return std::nullopt;
        }
        Blanks();
        if (at_ != text_.size())
            return std::nullopt;
        return info;
    }

private:
    static constexpr int kDeepest = 64;

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Take(char c)
    {
        if (Peek() != c || at_ >= text_.size())
            return false;
        ++at_;
        return true;
    }
    void Blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Word(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }
    bool Digits()
    {
        const std::size_t from = at_;
        while (Peek() >= '0' && Peek() <= '9')
            ++at_;
        return at_ > from;
    }
    bool Number()
    {
        Take('-');
        if (!Take('0') && !Digits())
            return false;
        if (Take('.') && !Digits())
            return false;
        if (Take('e') || Take('E')) {
            if (!Take('+'))
                Take('-');
            if (!Digits())
                return false;
        }
        return true;
    }
    bool Hex4(char32_t& unit)
    {
        unit = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = Peek();
            const int digit = c >= '0' && c <= '9' ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            unit = unit * 16 + static_cast<char32_t>(digit);
            ++at_;
        }
        return true;
    }
    bool String(std::string& out)
    {
        if (!Take('"'))
            return false;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                // A byte that starts no character makes the file no JSON.
                const std::size_t from = at_;
                if (Utf8Next(text_, at_) == 0xFFFD && text_.substr(from, at_ - from) != "\xEF\xBF\xBD")
                    return false;
                out.append(text_.substr(from, at_ - from));
                continue;
            }
            ++at_;
            const char escaped = Peek();
            ++at_;
            switch (escaped) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                char32_t unit = 0;
                if (!Hex4(unit))
                    return false;
                // A surrogate pair is one character; half of one is none.
                if (unit >= 0xD800 && unit < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                    const std::size_t pair = at_;
                    at_ += 2;
                    char32_t low = 0;
                    if (Hex4(low) && low >= 0xDC00 && low < 0xE000)
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    else
                        at_ = pair;
                }
                AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? char32_t{0xFFFD} : unit);
                break;
            }
            default: return false;
            }
        }
        return false;
    }
    // Any value, skipped.
    bool Value(int depth)
    {
        if (depth > kDeepest)
            return false;
        std::string ignored;
        switch (Peek()) {
        case '"': return String(ignored);
        case 't': return Word("true");
        case 'f': return Word("false");
        case 'n': return Word("null");
        case '[':
        case '{': {
            const bool object = Take('{');
            if (!object)
                Take('[');
            const char close = object ? '}' : ']';
            Blanks();
            if (Take(close))
                return true;
            do {
                Blanks();
                if (object && (!String(ignored) || (Blanks(), !Take(':'))))
                    return false;
                Blanks();
                if (!Value(depth + 1))
                    return false;
                Blanks();
            } while (Take(','));
            return Take(close);
        }
        default: return Number();
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::string ValidUtf8(std::string_view text) { return ToUtf8(ToUtf32(text)); }

} // namespace

std::string RecoveryInfoBytes(const RecoveryInfo& info)
{
    return "{\"file\":" + Json(info.File) + ",\"savedAt\":" + Json(info.SavedAt) + "}";
}

RecoveryInfo ReadRecoveryInfo(std::string_view bytes)
{
    if (auto info = JsonReader(bytes).Object())
        return *info;
    const std::size_t firstEnd = bytes.find('\n');
    if (firstEnd == std::string_view::npos)
        return {ValidUtf8(bytes), {}};
    const std::string_view rest = bytes.substr(firstEnd + 1);
    return {ValidUtf8(bytes.substr(0, firstEnd)), ValidUtf8(rest.substr(0, rest.find('\n')))};
}

} // namespace mirvane
