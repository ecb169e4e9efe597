#include "model/Test.h"

#include "model/Misc.h"

#include <stdexcept>

namespace mirvane {

namespace {
void CheckMark(int num)
{
    if (num < 0 || num >= Test::kMarkSlots)
        throw std::out_of_range("mark slot out of range");
}
} // namespace

void Test::Reset()
{
    TestName = "Экзамен";
    TestTime = kDefaultTime;
    ShowErrors = 0;
    LogType = 0;
    LogFile = "LOG.TXT";
    markScores_.fill(0);
    for (auto& d : markDescriptions_)
        d.clear();
    markDescriptions_[0] = "Экзамен не сдан";
    Divisions = KeyedCollection<Division>();
}

std::int16_t Test::MarkScoresGet(int num) const
{
    CheckMark(num);
    return markScores_[num];
}

void Test::MarkScoresSet(int num, std::int16_t newValue)
{
    CheckMark(num);
    markScores_[num] = newValue;
}

const std::string& Test::MarkDiscriptionsGet(int num) const
{
    CheckMark(num);
    return markDescriptions_[num];
}

void Test::MarkDiscriptionsSet(int num, std::string newValue)
{
    CheckMark(num);
    markDescriptions_[num] = std::move(newValue);
}

bool Test::IsMarkInUse(int num) const { return !IsBlank(MarkDiscriptionsGet(num)); }

} // namespace mirvane
