// The preview file and the player's start, help for the selected node, and
// the About window, through the platform fakes.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/HelpCommands.h"
#include "commands/PreviewCommand.h"
#include "windows/AboutWindow.h"
#include "commands/CommandActions.h"
#include "testfile/FileIo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace mirvane::testing {
namespace {

class AuxiliaryTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("program/pv");
        QDir(dir.path()).mkpath("cache");
        QFile player(Path("program/pv/vexopv"));
        ASSERT_TRUE(player.open(QIODevice::WriteOnly));
        player.write("#!/bin/sh\n");
        player.close();
        player.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Parts(*window).Preview().SetFolders(Path("program"), Path("cache"));
        Parts(*window).Help().SetProgramFolder(Path("program"));
        // q3: answers in slots 0 and 2
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Раздел", ")?", "Сколько будет 2+2?", ")! 1", "четыре",
              ")! 0", "", ")! 0", "пять"});
        platform.prompter.Clear();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }

    QTemporaryDir dir;
};

TEST_F(AuxiliaryTest, PreviewWritesTheQuestionAndStartsThePlayerBesideIt)
{
    for (const char* node : {"par", "mrk", "d1"}) {
        Click(node);
        Run(Command::Preview);
    }
    EXPECT_FALSE(QFile::exists(Path("program/pv/temp.q")));
    EXPECT_TRUE(platform.launcher.started.empty());

    Click("q2");
    P().TextQuest->setPlainText("Сколько будет 3+3?"); // typed, not stored yet
    Run(Command::Preview);
    const std::string expected = AnsiToOem(
        "Предварительный просмотр\r\n)t 1\r\n)<\r\n Тест не сдан\r\n)> 0\r\nТест сдан\r\n)* 1\r\n)?\r\n"
        "Сколько будет 3+3?\r\n)! 1\r\nчетыре\r\n)! 0\r\nпять\r\n):\r\n");
    EXPECT_EQ(Bytes(Path("program/pv/temp.q")), expected);
    ASSERT_EQ(platform.launcher.started.size(), 1u);
    EXPECT_EQ(platform.launcher.started[0].Program, Path("program/pv/vexopv"));
    EXPECT_EQ(platform.launcher.started[0].Arguments, QStringList{"temp.q"});
    EXPECT_EQ(platform.launcher.started[0].Folder, Path("program/pv"));

    P().TextQuest->setPlainText("Другой");
    Run(Command::Preview); // the file is replaced
    EXPECT_NE(Bytes(Path("program/pv/temp.q")).find(AnsiToOem(")?\r\nДругой\r\n")), std::string::npos);
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(AuxiliaryTest, PreviewFallsBackToTheCacheAndToldFailures)
{
    QDir(dir.path()).mkpath("program/pv/temp.q"); // pv/ takes no file of that name
    Click("q2");
    Run(Command::Preview);
    EXPECT_TRUE(QFile::exists(Path("cache/pv/temp.q")));
    ASSERT_EQ(platform.launcher.started.size(), 1u);
    EXPECT_EQ(platform.launcher.started[0].Folder, Path("cache/pv"));

    platform.launcher.succeed = false;
    Run(Command::Preview);
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Не удалось запустить программу просмотра"));

    QFile::remove(Path("program/pv/vexopv"));
    Run(Command::Preview);
    EXPECT_TRUE(platform.prompter.shown.back().Text.startsWith("Не найдена программа просмотра"));
    EXPECT_EQ(platform.launcher.started.size(), 2u);
}

TEST_F(AuxiliaryTest, HelpOpensTheTopicOfTheSelectedNode)
{
    Run(Command::HelpContents); // no help installed
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text,
              "Unable to display Help Contents. There is no Help associated with this project.");
    EXPECT_EQ(platform.prompter.shown[0].Kind, ScriptedPrompter::Shown::Information);
    EXPECT_EQ(platform.prompter.shown[0].Caption, window->windowTitle());

    QDir(dir.path()).mkpath("share/mirvane/help");
    QFile index(Path("share/mirvane/help/index.htm"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    const std::pair<const char*, const char*> topics[] = {{"par", "Параметры теста.htm"},
                                                         {"mrk", "Система оценок.htm"},
                                                         {"d1", "Параметры раздела.htm"},
                                                         {"q2", "Редактирование вопроса.htm"}};
    for (const auto& [node, topic] : topics) {
        Click(node);
        Run(Command::HelpContents);
        ASSERT_FALSE(platform.helpViewer.shown.empty());
        EXPECT_EQ(platform.helpViewer.shown.back().second, QString::fromUtf8(topic));
    }
    EXPECT_EQ(platform.helpViewer.shown.back().first, QDir(Path("share/mirvane/help")).canonicalPath());
}

TEST_F(AuxiliaryTest, AboutShowsTheVersionAndStartsTheSystemTool)
{
    Run(Command::HelpAbout);
    AboutWindow* about = Parts(*window).Help().About();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Mirvane");
    EXPECT_EQ(about->lblTitle->text(), "Mirvane");
    EXPECT_EQ(about->lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                             .arg(MIRVANE_VERSION_MAJOR)
                                             .arg(MIRVANE_VERSION_MINOR)
                                             .arg(MIRVANE_VERSION_REVISION));
    EXPECT_EQ(about->lblVersion->text(), "Version 1.0.12");
    EXPECT_EQ(about->lblDescription->text(), "Программа предназначена для создания тестов тулимара vexo v1.x");

    about->cmdSysInfo->click(); // nothing found
    EXPECT_EQ(platform.prompter.Texts(), QStringList{"System Information Is Unavailable At This Time"});
    platform.registry.tool = "/usr/bin/hardinfo";
    about->cmdSysInfo->click();
    ASSERT_EQ(platform.launcher.started.size(), 1u);
    EXPECT_EQ(platform.launcher.started[0].Program, "/usr/bin/hardinfo");
    EXPECT_EQ(platform.prompter.shown.size(), 1u);
    about->cmdOK->click();
    EXPECT_FALSE(about->isVisible());
}

} // namespace
} // namespace mirvane::testing
