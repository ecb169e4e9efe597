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

void Question::ASet(int num, std::string text)
{
    CheckSlot(num);
    answers_[num] = std::move(text);
}

const std::string& Question::AGet(int num) const
{
    CheckSlot(num);
    return answers_[num];
}

std::string& Question::AText(int num)
{
    CheckSlot(num);
    return answers_[num];
}

bool Question::IsAnswerPresent(int num) const { return !IsBlank(AGet(num)); }

void Question::Save(std::string& out) const
{
    const CodePage& dos = CodePage::Dos();
    AppendFileLine(out, ")?");
    AppendFileLine(out, Q, dos);
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (!IsAnswerPresent(i))
            continue;
        AppendFileLine(out, ")! " + FormatNumber(scores_[i]));
        AppendFileLine(out, answers_[i], dos);
    }
}

void Question::SaveV2(std::string& out) const
{
    const CodePage& windows = CodePage::Windows();
    AppendFileLine(out, "<QUESTION type=\"radio\" qbgcolor=\"#FFEAEC\" abgcolor=\"#FEFFEA\">");
    (EncodedLine(out, windows) << "<b>" << Q << "</b>").End();
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (!IsAnswerPresent(i))
            continue;
        (EncodedLine(out, windows) << "<ANSWER score=\"" << scores_[i] << "\">").End();
        AppendFileLine(out, answers_[i], windows);
    }
}

std::int16_t Question::GetBestAnswer() const
{
    int best = 0;
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (IsAnswerPresent(i) && scores_[i] > scores_[best])
            best = i;
    }
    return static_cast<std::int16_t>(best);
}

std::int16_t Question::CountLines() const
{
    long n = CountBreaks(Q) + 1L;
    for (int i = 0; i < kAnswerSlots; ++i) {
        if (IsAnswerPresent(i))
            n += CountBreaks(answers_[i]) + 1L;
    }
    return static_cast<std::int16_t>(n > 32767 ? 32767 : n);
}

} // namespace mirvane
