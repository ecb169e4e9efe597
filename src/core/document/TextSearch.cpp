#include "document/TextSearch.h"

#include "document/TestDocument.h"
#include "model/NodeKey.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace mirvane {

namespace {

// The searched texts are numbered node by node, ten places per node: the
// question's text and nine answers, the ten marks, or one text.
constexpr std::size_t kPlacesPerNode = 10;

struct SearchedNode {
    const std::string* Key;
    const Division* DivisionItem = nullptr;
    const Question* QuestionItem = nullptr;
};

class SearchedTexts {
public:
    explicit SearchedTexts(const TestDocument& document) : test_(document.Model())
    {
        static const std::string parameters(kParametersKey);
        static const std::string marks(kMarksKey);
        nodes_.reserve(document.Order().Divisions.size() * 101 + 2);
        nodes_.push_back({&parameters});
        nodes_.push_back({&marks});
        for (const DocumentOrder::DivisionEntry& entry : document.Order().Divisions) {
            const Division& division = document.DivisionAt(entry.Key);
            nodes_.push_back({&division.Key, &division});
            for (const std::string& key : entry.QuestionKeys) {
                const Question& question = division.Questions.Item(key);
                nodes_.push_back({&question.Key, nullptr, &question});
            }
        }
    }

    std::size_t Count() const { return nodes_.size() * kPlacesPerNode; }

    // The place of text `i` at `offset`.
    TextPlace PlaceOf(std::size_t i, std::size_t offset) const
    {
        const SearchedNode& node = nodes_[i / kPlacesPerNode];
        const int field = Field(i);
        TextPlace place{*node.Key, DocumentField::TestName, 0, offset};
        if (node.QuestionItem) {
            place.Field = field == 0 ? DocumentField::QuestionText : DocumentField::Answer;
            place.Slot = std::max(field - 1, 0);
        } else if (node.DivisionItem) {
            place.Field = DocumentField::DivisionName;
        } else if (i / kPlacesPerNode == 1) {
            place.Field = DocumentField::Mark;
            place.Slot = field;
        }
        return place;
    }

    // The text at the place, or nothing where the node has no such field.
    std::optional<std::string_view> Text(std::size_t i) const
    {
        const SearchedNode& node = nodes_[i / kPlacesPerNode];
        const int field = Field(i);
        if (node.QuestionItem)
            return field == 0 ? node.QuestionItem->Q() : node.QuestionItem->AGet(field - 1);
        if (node.DivisionItem)
            return field == 0 ? std::optional<std::string_view>(node.DivisionItem->Name) : std::nullopt;
        if (i / kPlacesPerNode == 1)
            return test_.MarkDiscriptionsGet(field); // the ten marks the editor shows
        return field == 0 ? std::optional<std::string_view>(test_.TestName) : std::nullopt;
    }

    // Where the search starts: the place's text (or its node's first text
    // where the node has no such field), or nothing.
    std::optional<std::size_t> Place(const TextPlace& from) const
    {
        for (std::size_t n = 0; n < nodes_.size(); ++n) {
            if (*nodes_[n].Key != from.Key)
                continue;
            int field = 0;
            if (from.Field == DocumentField::Answer)
                field = from.Slot + 1;
            else if (from.Field == DocumentField::Mark)
                field = from.Slot;
            const std::size_t i = n * kPlacesPerNode + static_cast<std::size_t>(std::max(field, 0));
            return field < static_cast<int>(kPlacesPerNode) && Text(i) ? i : n * kPlacesPerNode;
        }
        return std::nullopt;
    }

private:
    static int Field(std::size_t i) { return static_cast<int>(i % kPlacesPerNode); }

    const Test& test_;
    std::vector<SearchedNode> nodes_;
};

char32_t LowerCase(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

void FoldCaseInto(std::string_view text, std::string& folded)
{
    folded.assign(text.data(), text.size());
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto lead = static_cast<unsigned char>(folded[i]);
        if (lead < 0x80) {
            if (lead >= 'A' && lead <= 'Z')
                folded[i] = static_cast<char>(lead + 0x20);
            continue;
        }
        if ((lead & 0xE0) != 0xC0 || i + 1 >= folded.size())
            continue; // only two-byte letters change, and only into two bytes
        const auto trail = static_cast<unsigned char>(folded[i + 1]);
        if ((trail & 0xC0) != 0x80)
            continue;
        const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) | (trail & 0x3F);
        const char32_t lower = LowerCase(c);
        if (lower != c && lower < 0x800) {
            folded[i] = static_cast<char>(0xC0 | (lower >> 6));
            folded[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
        }
        ++i;
    }
}

} // namespace

std::string FoldCase(std::string_view text)
{
    std::string folded;
    FoldCaseInto(text, folded);
    return folded;
}

std::optional<TextHit> FindText(const TestDocument& document, const TextQuery& query, const TextPlace& from,
                                bool forward, bool after)
{
    if (query.Text.empty())
        return std::nullopt;
    const std::string needle = query.MatchCase ? query.Text : FoldCase(query.Text);
    // Cyrillic text repeats the same lead bytes: a plain scan for the first
    // byte would stop at every other byte.
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    auto findFrom = [&](std::string_view text, std::size_t first) {
        const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(first), text.end(), searcher);
        return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
    };
    const SearchedTexts texts(document);
    const std::optional<std::size_t> place = texts.Place(from);
    const bool placed = place.has_value();
    const std::size_t start = place.value_or(0);
    const std::size_t offset = placed ? from.Offset : 0;
    const std::size_t n = texts.Count();
    std::string folded;
    // The start text is searched twice: first the part on the search's side
    // of the place, last, after wrapping around, the rest of it.
    for (std::size_t step = 0; step <= n; ++step) {
        const std::size_t i = forward ? (start + step) % n : (start + n - step % n) % n;
        const std::optional<std::string_view> found = texts.Text(i);
        if (!found)
            continue;
        std::string_view text = *found;
        if (!query.MatchCase) {
            FoldCaseInto(text, folded);
            text = folded;
        }
        std::size_t pos = std::string::npos;
        if (forward) {
            const std::size_t first = step == 0 ? offset + (after && placed ? 1 : 0) : 0;
            if (first <= text.size())
                pos = findFrom(text, first);
            if (step == n && pos != std::string::npos && pos >= offset + (after && placed ? 1 : 0))
                pos = std::string::npos; // back at the start: already searched
        } else {
            if (step == 0) {
                if (offset > 0)
                    pos = text.rfind(needle, offset - 1);
            } else {
                pos = text.rfind(needle);
                if (step == n && pos != std::string::npos && pos < offset)
                    pos = std::string::npos;
            }
        }
        if (pos != std::string::npos)
            return TextHit{texts.PlaceOf(i, pos), needle.size()};
    }
    return std::nullopt;
}

} // namespace mirvane
