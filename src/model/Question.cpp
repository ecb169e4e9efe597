#include "model/Question.h"

#include "model/CodePage.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/TextLines.h"

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

namespace {
constexpr std::uint16_t kMostBreaks = 65535;
}

void Question::SetPresent(int index, bool present)
{
    const auto bit = static_cast<std::uint16_t>(1u << index);
    present_ = static_cast<std::uint16_t>(present ? (present_ | bit) : (present_ & ~bit));
}

void Question::Refresh(int index)
{
    SetPresent(index, !IsBlank(texts_[index]));
    const int breaks = CountBreaks(texts_[index]);
    breaks_[index] = static_cast<std::uint16_t>(breaks > kMostBreaks ? kMostBreaks : breaks);
}

void Question::QSet(std::string text)
{
    texts_[0] = std::move(text);
    Refresh(0);
}

void Question::ASet(int num, std::string text)
{
    CheckSlot(num);
    texts_[num + 1] = std::move(text);
    Refresh(num + 1);
}

const std::string& Question::AGet(int num) const
{
    CheckSlot(num);
    return texts_[num + 1];
}

void Question::AppendLine(int slot, std::string_view line, const CodePage& page)
{
    if (slot != kQuestionText)
        CheckSlot(slot);
    const int index = slot + 1;
    std::string& text = texts_[index];
    const std::size_t before = text.size();
    if (!text.empty()) {
        // The separator is itself a break, and not blank; no pair can form
        // across it, since the line carries no line break of its own.
        text.append(kCrLf);
        SetPresent(index, true);
        if (breaks_[index] < kMostBreaks)
            ++breaks_[index];
    }
    page.DecodeAppend(text, line);
    if (!IsPresent(index))
        SetPresent(index, !IsBlank(std::string_view(text).substr(before)));
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
        AppendFileLine(out, texts_[i + 1], dos);
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
        AppendFileLine(out, texts_[i + 1], windows);
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
    long n = breaks_[0] + 1L;
    for (int i = 1; i <= kAnswerSlots; ++i) {
        if (IsPresent(i))
            n += breaks_[i] + 1L;
    }
    return static_cast<std::int16_t>(n > 32767 ? 32767 : n);
}

} // namespace mirvane
