#include "model/Question.h"

#include "model/CodePage.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/TextLines.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace mirvane {

namespace {
void CheckSlot(int num)
{
    if (num < 0 || num >= Question::kAnswerSlots)
        throw std::out_of_range("answer slot out of range");
}
} // namespace

void Question::AScoreSet(int num, std::int16_t score)
{
    CheckSlot(num);
    scores_[num] = score;
}

std::int16_t Question::AScoreGet(int num) const
{
    CheckSlot(num);
    return scores_[num];
}

void Question::SetPresent(int index, bool present)
{
    std::uint8_t& facts = facts_[static_cast<std::size_t>(index)];
    facts = static_cast<std::uint8_t>(present ? (facts | kPresentBit) : (facts & ~kPresentBit));
}

int Question::Breaks(int index) const
{
    const int counted = facts_[static_cast<std::size_t>(index)] & kCountedBreaks;
    return counted < kCountedBreaks ? counted : CountBreaks(Text(index));
}

void Question::SetBreaks(int index, int breaks)
{
    std::uint8_t& facts = facts_[static_cast<std::size_t>(index)];
    facts = static_cast<std::uint8_t>((facts & kPresentBit) | std::min(breaks, kCountedBreaks));
}

void Question::Refresh(int index)
{
    const std::string_view text = Text(index);
    SetPresent(index, !IsBlank(text));
    SetBreaks(index, CountBreaks(text));
}

void Question::Splice(int index, std::string_view text, bool append)
{
    const std::size_t start = Start(index);
    const std::size_t end = End(index);
    const std::size_t replaced = append ? 0 : end - start;
    if (texts_.size() - replaced + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the texts of a question are too long");
    if (append)
        texts_.insert(end, text);
    else
        texts_.replace(start, replaced, text);
    const auto moved = static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(replaced);
    for (std::size_t i = static_cast<std::size_t>(index); i < ends_.size(); ++i)
        ends_[i] = static_cast<std::uint32_t>(static_cast<std::int64_t>(ends_[i]) + moved);
}

void Question::QSet(std::string text)
{
    Splice(0, text, false);
    Refresh(0);
}

void Question::ASet(int num, std::string text)
{
    CheckSlot(num);
    Splice(num + 1, text, false);
    Refresh(num + 1);
}

std::string_view Question::AGet(int num) const
{
    CheckSlot(num);
    return Text(num + 1);
}

void Question::AppendLine(int slot, std::string_view line, const CodePage& page)
{
    if (slot != kQuestionText)
        CheckSlot(slot);
    const int index = slot + 1;
    const bool hadText = !Text(index).empty();
    if (hadText) {
        // The separator is itself a break, and not blank; no pair can form
        // across it, since the line carries no line break of its own.
        SetPresent(index, true);
        const int counted = facts_[static_cast<std::size_t>(index)] & kCountedBreaks;
        if (counted < kCountedBreaks)
            SetBreaks(index, counted + 1);
    }
    const std::size_t end = End(index);
    const std::size_t before = texts_.size();
    if (end == before) {
        // The last text grows at the end of the string: the way a file is read.
        if (hadText)
            texts_.append(kCrLf);
        page.DecodeAppend(texts_, line);
        if (texts_.size() > std::numeric_limits<std::uint32_t>::max()) {
            texts_.resize(before);
            throw std::length_error("the texts of a question are too long");
        }
        const auto grown = static_cast<std::uint32_t>(texts_.size() - before);
        for (std::size_t i = static_cast<std::size_t>(index); i < ends_.size(); ++i)
            ends_[i] += grown;
    } else {
        std::string added = hadText ? std::string(kCrLf) : std::string();
        page.DecodeAppend(added, line);
        Splice(index, added, true);
    }
    if (!IsPresent(index))
        SetPresent(index, !IsBlank(Text(index)));
}

void Question::TakeContentOf(Question& other)
{
    scores_ = other.scores_;
    facts_ = other.facts_;
    ends_ = other.ends_;
    texts_.assign(other.texts_.data(), other.texts_.size());
    other.scores_ = {};
    other.facts_ = {};
    other.ends_ = {};
    other.texts_.clear();
}

bool Question::IsAnswerPresent(int num) const
{
    CheckSlot(num);
    return IsPresent(num + 1);
}

void Question::Save(std::string& out) const
{
    const CodePage& dos = CodePage::Dos();
    AppendFileLine(out, ")?");
    AppendFileLine(out, Q(), dos);
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (!IsAnswerPresent(i))
            continue;
        AppendFileLine(out, ")! " + FormatNumber(scores_[i]));
        AppendFileLine(out, Text(i + 1), dos);
    }
}

void Question::SaveV2(std::string& out) const
{
    const CodePage& windows = CodePage::Windows();
    AppendFileLine(out, "<QUESTION type=\"radio\" qbgcolor=\"#FFEAEC\" abgcolor=\"#FEFFEA\">");
    (EncodedLine(out, windows) << "<b>" << Q() << "</b>").End();
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (!IsAnswerPresent(i))
            continue;
        (EncodedLine(out, windows) << "<ANSWER score=\"" << scores_[i] << "\">").End();
        AppendFileLine(out, Text(i + 1), windows);
    }
}

std::int16_t Question::GetBestAnswer() const
{
    int best = 0;
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (IsPresent(i + 1) && scores_[i] > scores_[best])
            best = i;
    }
    return static_cast<std::int16_t>(best);
}

std::int16_t Question::CountLines() const
{
    long n = Breaks(0) + 1L;
    for (int i = 1; i <= kAnswerSlots; ++i) {
        if (IsPresent(i))
            n += Breaks(i) + 1L;
    }
    return static_cast<std::int16_t>(n > 32767 ? 32767 : n);
}

} // namespace mirvane
