#include "EditorFixture.h"

#include "mainwindow/PanelTransfer.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace mirvane::testing {
namespace {

class PanelTransferTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"Тест", ")t 30", ")<", "Не сдан", ")> 5", "Сдан", ")* 3", "):Раздел", ")?", "Первый", ")! 1", "да", ")?",
              "Второй", ")?", "Третий"});
        // d1 with q2, q3, q4
        platform.prompter.Clear();
    }
    QString TimeMessage() const { return panel_text::kBadTestTime; }
};

TEST_F(PanelTransferTest, TestTimeCorrections)
{
    for (const char* bad : {"0", "601", "abc", "", "-5"}) {
        P().TestTime->setText(bad);
        platform.prompter.Clear();
        Click("par");
        EXPECT_EQ(Doc().TestTime, 30) << bad;
        ASSERT_EQ(platform.prompter.shown.size(), 1u) << bad;
        EXPECT_EQ(platform.prompter.shown[0].Text,
                  "Попытка присвоить недопустимое значение времени теста.\r\n Исправлено на 30 минут.");
        EXPECT_EQ(platform.prompter.shown[0].Caption, "Mirvane");
        EXPECT_EQ(P().TestTime->text(), "30");
    }
    for (auto [text, value] : {std::pair{"600", 600}, std::pair{"1", 1}, std::pair{" 45 ", 45}, std::pair{"2,5", 2}}) {
        P().TestTime->setText(text);
        platform.prompter.Clear();
        Click("par");
        EXPECT_EQ(Doc().TestTime, value) << text;
        EXPECT_TRUE(platform.prompter.shown.empty()) << text;
    }
}

TEST_F(PanelTransferTest, ParametersRoundTrip)
{
    P().TestName->setText("  Название с пробелами ");
    P().CheckMissWork->setChecked(true);
    P().OptionLogType[2]->setChecked(true);
    P().TextLogFile->setText("RES.TXT");
    Click("mrk");
    EXPECT_EQ(Doc().TestName, "  Название с пробелами ");
    EXPECT_EQ(Doc().ShowErrors, 1);
    EXPECT_EQ(Doc().LogType, 2);
    EXPECT_EQ(Doc().LogFile, "RES.TXT");
    Click("par");
    EXPECT_TRUE(P().OptionLogType[2]->isChecked());
    EXPECT_FALSE(P().OptionLogType[0]->isChecked());
}

TEST_F(PanelTransferTest, NoJournalOptionKeepsTheLogType)
{
    Doc().LogType = 7;
    window->Data2Form(); // the panel shows a test whose journal kind is outside 0..2
    EXPECT_EQ(P().ChosenLogType(), -1);
    Click("mrk");
    EXPECT_EQ(Doc().LogType, 7);
}

TEST_F(PanelTransferTest, LongLoadedTextsAreNotCutByTheTypingLimit)
{
    const std::string longTitle(100, 'x');
    Doc().TestName = longTitle;
    window->Data2Form();
    EXPECT_EQ(P().TestName->text().size(), 100);
    Click("mrk");
    EXPECT_EQ(Doc().TestName, longTitle);
}

TEST_F(PanelTransferTest, MarksAreCompacted)
{
    Click("mrk");
    P().MarkText[1]->setText("Удовл");
    P().MarkScoreText[0]->setText("10");
    P().MarkText[2]->setText("   ");
    P().MarkScoreText[1]->setText("77"); // beside a blank description: discarded
    P().MarkText[3]->setText("Отлично");
    P().MarkScoreText[2]->setText("20");
    Click("par");
    EXPECT_TRUE(platform.prompter.shown.empty());
    EXPECT_EQ(Doc().MarkScoresGet(0), -32768);
    EXPECT_EQ(Doc().MarkDiscriptionsGet(1), "Удовл");
    EXPECT_EQ(Doc().MarkScoresGet(1), 10);
    EXPECT_EQ(Doc().MarkDiscriptionsGet(2), "Отлично");
    EXPECT_EQ(Doc().MarkScoresGet(2), 20);
    for (int i = 3; i <= 9; ++i) {
        EXPECT_EQ(Doc().MarkDiscriptionsGet(i), "");
        EXPECT_EQ(Doc().MarkScoresGet(i), 0);
    }
    Click("mrk");
    EXPECT_EQ(P().MarkText[1]->text(), "Удовл");
    EXPECT_EQ(P().MarkText[2]->text(), "Отлично");
    EXPECT_EQ(P().MarkText[3]->text(), "");
    EXPECT_EQ(P().MarkScoreText[2]->text(), "");
}

TEST_F(PanelTransferTest, BadThresholdStoresZeroWithOneMessage)
{
    Click("mrk");
    P().MarkText[1]->setText("Хорошо");
    P().MarkScoreText[0]->setText("x");
    P().MarkText[0]->setText("Неуд");
    Click("par");
    EXPECT_EQ(platform.prompter.Texts(), QStringList{"Неверное значение оценки"});
    EXPECT_EQ(Doc().MarkDiscriptionsGet(1), "Хорошо");
    EXPECT_EQ(Doc().MarkScoresGet(1), 0);
    EXPECT_EQ(Doc().MarkDiscriptionsGet(0), "Неуд");
}

TEST_F(PanelTransferTest, DivisionNameAndQuestionCount)
{
    Click("d1");
    EXPECT_EQ(P().LabelFNQ->text(), "Всего в разделе 3 вопросов");
    P().TextDivName->setText("  Алгебра  ");
    P().TextNQ->setText("");
    Click("par");
    EXPECT_EQ(Doc().Divisions.Item("d1").Name, "Алгебра");
    EXPECT_EQ(Node("d1")->text(0), "Алгебра");
    EXPECT_EQ(Doc().Divisions.Item("d1").NQ, 1);
    EXPECT_EQ(platform.prompter.Texts(), QStringList{"Неверное число задаваемых вопросов\r\nИсправлено на 1"});

    platform.prompter.Clear();
    Click("d1");
    P().TextNQ->setText("-5");
    Click("par");
    EXPECT_EQ(Doc().Divisions.Item("d1").NQ, -5);
    EXPECT_TRUE(platform.prompter.shown.empty());
    EXPECT_EQ(QuestionCountCaption(1), "Всего в разделе 1 вопросов");
}

TEST_F(PanelTransferTest, BlankAnswersAreEmptiedAndBadScoresAreZero)
{
    Click("q2");
    P().TextAnswer[1]->setPlainText("  \n\t ");
    P().TextQMark[1]->setText("4");
    P().TextQMark[0]->setText("abc");
    Click("q3");
    EXPECT_TRUE(platform.prompter.shown.empty());
    const Question& q = Doc().Divisions.Item("d1").Questions.Item("q2");
    EXPECT_EQ(q.AGet(1), "");
    EXPECT_EQ(q.AScoreGet(1), 4);
    EXPECT_EQ(q.AScoreGet(0), 0);
    EXPECT_EQ(P().TextAnswer[1]->toPlainText(), ""); // the box itself was emptied
    Click("q2");
    EXPECT_EQ(P().TextQMark[1]->text(), "");
    EXPECT_EQ(P().TextQMark[0]->text(), "0");
    EXPECT_EQ(P().TextAnswer[0]->toPlainText(), "да");
}

TEST_F(PanelTransferTest, NoBreakSpacesAndMultiLineTextsSurvive)
{
    Click("q2");
    const QString text = QString::fromUtf8("строка\u00A0один\nстрока два\n\nпосле пустой");
    P().TextQuest->setPlainText(text);
    Click("q3");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q2").Q(),
              "строка\u00A0один\r\nстрока два\r\n\r\nпосле пустой");
    Click("q2");
    EXPECT_EQ(P().TextQuest->toPlainText().size(), text.size());
}

TEST_F(PanelTransferTest, TheBestAnswersAreMarkedAndABlankScoreReadsAsZero)
{
    // The rows a screen reader calls right; their boxes are tinted too.
    auto marked = [this] {
        QList<int> rows;
        for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
            QAccessibleInterface* said = QAccessible::queryAccessibleInterface(P().TextQMark[i]);
            if (said->text(QAccessible::Description) == "правильный")
                rows << i;
            EXPECT_EQ(rows.contains(i), P().TextAnswer[i]->palette().color(QPalette::Base) !=
                                            P().TextAnswer[8]->palette().color(QPalette::Base)) << i;
        }
        return rows;
    };
    Click("q2");
    EXPECT_EQ(marked(), QList<int>{0}) << "the only answer";
    P().TextAnswer[1]->setPlainText("нет");
    P().TextAnswer[2]->setPlainText("может быть");
    P().TextQMark[2]->setText("1");
    EXPECT_EQ(P().TextQMark[1]->placeholderText(), "0");
    EXPECT_EQ(marked(), (QList<int>{0, 2})) << "a tie marks both";
    P().TextQMark[0]->setText(" ");
    P().TextQMark[1]->setText("-1");
    EXPECT_EQ(marked(), QList<int>{2}) << "a blank score counts as 0";
    P().TextQMark[1]->setText("");
    P().TextQMark[2]->setText("");
    EXPECT_EQ(marked(), QList<int>{}) << "all alike: no right answer yet";
    P().TextQMark[2]->setText("2");
    Click("q3");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q2").AScoreGet(0), 0);
    Click("q2");
    EXPECT_EQ(marked(), QList<int>{2});
}

} // namespace
} // namespace mirvane::testing
