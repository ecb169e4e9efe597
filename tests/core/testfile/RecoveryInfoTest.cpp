// The info file beside a copy of unsaved work: what one editor writes,
// another reads, whatever the path holds, and a torn or older file still
// names what it can.
#include "testfile/RecoveryInfo.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

TEST(RecoveryInfo, AnyPathComesBack)
{
    const std::string path = "/дом/\"кавычки\"\\ и\nперенос\t\x01.q";
    const RecoveryInfo back = ReadRecoveryInfo(RecoveryInfoBytes({path, "2026-01-02T03:04:05"}));
    EXPECT_EQ(back.File, path);
    EXPECT_EQ(back.SavedAt, "2026-01-02T03:04:05");
}

TEST(RecoveryInfo, AnyJsonObjectIsRead)
{
    const RecoveryInfo read = ReadRecoveryInfo(
        " {\"savedAt\" : \"2026-01-02T03:04:05\", \"other\": [1, -2.5e3, {\"a\": null}, true],\n"
        "  \"file\": \"\\/\\u0442\\u0435\\u0441\\u0442 \\ud83d\\ude00 \\ud800.q\"} ");
    EXPECT_EQ(read.File, "/тест 😀 \xEF\xBF\xBD.q"); // half a surrogate pair is no character
    EXPECT_EQ(read.SavedAt, "2026-01-02T03:04:05");
    EXPECT_EQ(ReadRecoveryInfo("{\"file\": 7}").File, "");
}

TEST(RecoveryInfo, LinesOfAnEarlierVersionOrATornFile)
{
    const RecoveryInfo lines = ReadRecoveryInfo("lost.q\n2026-01-02T03:04:05\n");
    EXPECT_EQ(lines.File, "lost.q");
    EXPECT_EQ(lines.SavedAt, "2026-01-02T03:04:05");
    EXPECT_EQ(ReadRecoveryInfo("{\"file\":\"a.q\",\"savedAt\":\"20").File, "{\"file\":\"a.q\",\"savedAt\":\"20");
    EXPECT_EQ(ReadRecoveryInfo("bad \xFF byte").File, "bad \xEF\xBF\xBD byte");
}

} // namespace
} // namespace mirvane::testing
