#include "TestSupport.h"

#include "player/PreviewFile.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

TEST(PreviewFile, OneQuestionTestInTheDosPage)
{
    Question q;
    q.QSet("Столица\r\nРоссии?");
    q.ASet(0, "Москва");
    q.AScoreSet(0, 1);
    q.ASet(2, "Тверь");
    const std::string bytes = BuildPreviewFile(q);
    EXPECT_EQ(bytes, AnsiToOem("Предварительный просмотр\r\n)t 1\r\n)<\r\n Тест не сдан\r\n)> 0\r\nТест сдан\r\n)* 1\r\n"
                               ")?\r\nСтолица\r\nРоссии?\r\n)! 1\r\nМосква\r\n)! 0\r\nТверь\r\n):\r\n"));

    // The player reads it as a test of one division with the one question.
    auto back = LoadBytes(bytes);
    ASSERT_TRUE(back.isTestFile);
    EXPECT_TRUE(back.messages.empty());
    ASSERT_EQ(back.test->Divisions.Count(), 1u);
    const Question& read = back.test->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(read.Q(), q.Q());
    EXPECT_EQ(read.AGet(1), "Тверь");
}

} // namespace
} // namespace mirvane::testing
