// The preview player on the offscreen platform: it asks what each division
// asks, counts the chosen answers and names the mark reached.
#include "FakePlatform.h"
#include "TestSupport.h"

#include "player/PlayerWindow.h"
#include "testfile/FileIo.h"

#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

// Two divisions: the first asks 2 of its 3 questions, the second all (asks
// 5, has 1). Every best answer scores 2.
const std::initializer_list<std::string_view> kTest = {
    "Проба", ")t 2", ")\" 1", ")<", "Не сдан", ")> 4", "Зачёт", ")> 6", "Отлично",
    ")* 2", "):Первый", ")?", "а", ")! 2", "верно", ")! 0", "неверно", ")?", "б", ")! 0", "неверно", ")! 2", "верно",
    ")?", "в", ")! 2", "верно", ")! 1", "почти",
    ")* 5", "):Второй", ")?", "г", ")! 2", "верно", ")! -1", "плохо", "):"};

std::string Bytes() { return DosFile(kTest); }

// The choice, among those shown, of the answer whose text is `text`.
int ShownIndex(const PlayerWindow& player, const char* text)
{
    const auto& asked = player.Session().Questions()[player.Current()];
    for (std::size_t i = 0; i < asked.Slots.size(); ++i) {
        if (asked.Item->AGet(asked.Slots[i]) == text)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(Player, AsksEachDivisionsCountAndScoresTheChosenAnswers)
{
    ScriptedPrompter prompter;
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        PlayerWindow player(prompter, seed);
        ASSERT_TRUE(player.Load(Bytes()));
        const auto& asked = player.Session().Questions();
        ASSERT_EQ(asked.size(), 3u);
        EXPECT_EQ(asked[0].Division, "Первый");
        EXPECT_EQ(asked[1].Division, "Первый");
        EXPECT_NE(asked[0].Item, asked[1].Item);
        EXPECT_EQ(asked[2].Item->Q(), "г");
        EXPECT_EQ(player.TitleLabel->text(), "Проба");
        EXPECT_EQ(player.SecondsLeft(), 120);

        player.ChooseShown(ShownIndex(player, "верно"));
        player.Next();
        player.ChooseShown(ShownIndex(player, "верно"));
        player.Next();
        player.ChooseShown(ShownIndex(player, "плохо"));
        player.Next();
        ASSERT_TRUE(player.Finished());
        EXPECT_EQ(player.Session().Score(), 3);
        EXPECT_EQ(player.Session().MarkDescription(), "Не сдан"); // 3 reaches no threshold
        // The test offers work on mistakes: the wrong one with its best answer.
        EXPECT_TRUE(player.ResultLabel->text().contains("Работа над ошибками"));
        EXPECT_TRUE(player.ResultLabel->text().contains("г\nПравильный ответ: верно"));
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(Player, TheMarkIsTheHighestThresholdReached)
{
    ScriptedPrompter prompter;
    PlayerWindow player(prompter, 5);
    ASSERT_TRUE(player.Load(Bytes()));
    for (int i = 0; i < 3; ++i) {
        player.ChooseShown(ShownIndex(player, "верно"));
        player.Next();
    }
    EXPECT_EQ(player.Session().Score(), 6);
    EXPECT_EQ(player.Session().MarkDescription(), "Отлично");
    EXPECT_TRUE(player.ResultLabel->text().contains("Оценка: Отлично"));
    EXPECT_FALSE(player.ResultLabel->text().contains("Работа над ошибками"));
}

TEST(Player, TimeRunningOutEndsTheTest)
{
    ScriptedPrompter prompter;
    PlayerWindow player(prompter, 1);
    ASSERT_TRUE(player.Load(Bytes()));
    player.ChooseShown(ShownIndex(player, "верно"));
    for (int i = 0; i < 119; ++i)
        player.Tick();
    EXPECT_FALSE(player.Finished());
    EXPECT_EQ(player.ClockLabel->text(), "Осталось: 00:01");
    player.Tick();
    ASSERT_TRUE(player.Finished());
    EXPECT_TRUE(player.ResultLabel->text().startsWith("Время истекло."));
    EXPECT_EQ(player.Session().Score(), 2);
}

TEST(Player, APreviewSaysWhetherTheBestAnswerWasChosen)
{
    ScriptedPrompter prompter;
    PlayerWindow player(prompter, 1);
    ASSERT_TRUE(player.Load(DosFile({"Предварительный просмотр", ")t 1", ")<", " Тест не сдан", ")> 0", "Тест сдан",
                                     ")* 1", ")?", "Вопрос", ")! 1", "да", ")! 0", "нет", "):"})));
    player.ChooseShown(1);
    player.Next();
    EXPECT_TRUE(player.ResultLabel->text().contains("Выбран не лучший вариант ответа."));
}

TEST(Player, BrokenFilesAreToldAndNeverCrashIt)
{
    ScriptedPrompter prompter;
    PlayerWindow notATest(prompter, 1);
    EXPECT_FALSE(notATest.Load("просто текст\r\n"));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].Text.startsWith("Данный файл не является файлом теста"));

    prompter.Clear();
    PlayerWindow broken(prompter, 1);
    ASSERT_TRUE(broken.Load(DosFile({"T", ")t x", ")* 99", ")?", "без ответов", ")!", "", ")! zz", "б", ")?"})));
    EXPECT_FALSE(prompter.shown.empty());
    for (int i = 0; i < 5; ++i)
        broken.Next();
    EXPECT_TRUE(broken.Finished());
}

// A file broken on every line shows a few of its messages and the count of
// the rest, not a box per line, whether opened by name or given as bytes.
TEST(Player, ABrokenLineByLineFileShowsFewMessages)
{
    std::vector<std::string> lines = {"T", ")t 5", ")* 1"};
    for (int i = 0; i < 200; ++i)
        lines.insert(lines.end(), {")?", "вопрос", ")! zz", "а", ")! 1", "б"});
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    QTemporaryDir dir;
    const std::string path = dir.filePath("broken.q").toStdString();
    ASSERT_FALSE(WriteFileReplacing(path, bytes));
    for (const bool byName : {true, false}) {
        ScriptedPrompter prompter;
        PlayerWindow player(prompter, 1);
        if (byName)
            EXPECT_EQ(player.Open(path), 0);
        else
            EXPECT_TRUE(player.Load(bytes));
        ASSERT_GT(prompter.shown.size(), 1u);
        EXPECT_LT(prompter.shown.size(), 50u) << byName;
        EXPECT_TRUE(prompter.shown.back().Text.contains("не показано")) << prompter.shown.back().Text.toStdString();
    }
}

// vexopv's way in: a file by its name. A file of endless zeros is refused
// once its first lines are seen, never read whole into the memory.
TEST(Player, OpensAFileByNameAndToldRefusalsEndIt)
{
    QTemporaryDir dir;
    const std::string good = dir.filePath("temp.q").toStdString();
    ASSERT_FALSE(WriteFileReplacing(good, Bytes()));
    const std::string missing = dir.filePath("нет.q").toStdString();
    const std::vector<std::tuple<std::string, int, QString>> runs = {
        {good, 0, QString()},
        {missing, 2, QString::fromStdString("«" + missing + "»")},
        {"/dev/zero", 1, "Данный файл не является файлом теста"}};
    for (const auto& [path, status, message] : runs) {
        ScriptedPrompter prompter;
        PlayerWindow player(prompter, 1);
        EXPECT_EQ(player.Open(path), status) << path;
        ASSERT_EQ(prompter.shown.size(), message.isEmpty() ? 0u : 1u) << path;
        if (!message.isEmpty()) {
            EXPECT_TRUE(prompter.shown[0].Text.contains(message)) << prompter.shown[0].Text.toStdString();
        }
    }
}

} // namespace
} // namespace mirvane::testing
