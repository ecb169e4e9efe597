#pragma once
// Builds an arbitrary test from a fuzzer's bytes: any title, settings, marks,
// division counts and scores, any number of divisions and questions, texts of
// any characters (as the model holds them: UTF-8). When the bytes run out,
// everything after is zero and empty.
#include "model/KeyCounter.h"
#include "model/NodeKey.h"
#include "model/Test.h"
#include "model/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mirvane::fuzzing {

class FuzzedBytes {
public:
    FuzzedBytes(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() { return at_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[at_++]) : 0; }
    std::int16_t Int16() { return static_cast<std::int16_t>(Byte() | (Byte() << 8)); }
    // Up to 255 bytes, read as UTF-8 (a byte that starts no character
    // becomes U+FFFD).
    std::string Text()
    {
        const std::size_t length = std::min<std::size_t>(Byte(), bytes_.size() - at_);
        const std::string_view raw = bytes_.substr(at_, length);
        at_ += length;
        return ToUtf8(ToUtf32(raw));
    }
    bool Empty() const { return at_ >= bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

inline void FillTest(Test& test, FuzzedBytes& in)
{
    ResetKeyNumbers();
    test.TestName = in.Text();
    test.TestTime = in.Int16();
    test.ShowErrors = in.Int16();
    test.LogType = in.Int16();
    test.LogFile = in.Text();
    for (int mark = 0; mark < Test::kMarkSlots; ++mark) {
        if (in.Byte() & 1) {
            test.MarkScoresSet(mark, in.Int16());
            test.MarkDiscriptionsSet(mark, in.Text());
        }
    }
    for (int divisions = in.Byte() % 16; divisions > 0; --divisions) {
        auto division = std::make_unique<Division>();
        division->Key = NextKey(NodeKind::Division);
        division->Name = in.Text();
        division->NQ = in.Int16();
        for (int questions = static_cast<std::uint16_t>(in.Int16()); questions > 0 && !in.Empty(); --questions) {
            auto question = std::make_unique<Question>();
            question->Key = NextKey(NodeKind::Question);
            question->QSet(in.Text());
            const int present = in.Int16();
            for (int slot = 0; slot < Question::kAnswerSlots; ++slot) {
                if (present & (1 << slot)) {
                    question->ASet(slot, in.Text());
                    question->AScoreSet(slot, in.Int16());
                }
            }
            const std::string key = question->Key;
            division->Questions.Add(key, std::move(question));
        }
        const std::string key = division->Key;
        test.Divisions.Add(key, std::move(division));
    }
}

} // namespace mirvane::fuzzing
