#include "EditorFixture.h"

#include "mainwindow/FieldEditing.h"
#include "mainwindow/SpinButtons.h"
#include "model/DocumentOrder.h"
#include "testfile/TestFileWriter.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QStatusBar>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace mirvane::testing {
namespace {

TEST(SpinStep, TestTimeStepsWithinOneTo600)
{
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "600", true), "600");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "1", false), "1");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "abc", true), "1");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "", false), "1");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "700", true), "600");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "700", false), "699");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "30", true), "31");
    EXPECT_EQ(SpinStep(SpinKind::TestTime, " 29.6 ", false), "29");
}

TEST(SpinStep, QuestionCountNeverGoesBelowZero)
{
    EXPECT_EQ(SpinStep(SpinKind::QuestionCount, "99", true), "100");
    EXPECT_EQ(SpinStep(SpinKind::QuestionCount, "0", false), "0");
    EXPECT_EQ(SpinStep(SpinKind::QuestionCount, "-5", true), "0");
    EXPECT_EQ(SpinStep(SpinKind::QuestionCount, "x", true), "0");
}

TEST(SpinStep, FreeBoxesStepBothWaysAndStopAtTheSixteenBitEnds)
{
    EXPECT_EQ(SpinStep(SpinKind::Free, "-1", false), "-2");
    EXPECT_EQ(SpinStep(SpinKind::Free, "05", true), "6");
    EXPECT_EQ(SpinStep(SpinKind::Free, "", true), "0");
    EXPECT_EQ(SpinStep(SpinKind::Free, "32767", true), std::nullopt);
    EXPECT_EQ(SpinStep(SpinKind::Free, "-32768", false), std::nullopt);
    EXPECT_EQ(SpinStep(SpinKind::TestTime, "32767", true), std::nullopt);
}

TEST(MinScoreCaption, FirstBoxWithTheSmallestValueAsTyped)
{
    EXPECT_EQ(MinScoreCaption({"10", "слово", "05", "5", "", "", "", "", ""}), "< 05");
    EXPECT_EQ(MinScoreCaption({"", "", "", "", "", "", "", "", ""}), "< 32000");
    EXPECT_EQ(MinScoreCaption({"32000", "32001"}), "< 32000");
    EXPECT_EQ(MinScoreCaption({"-3", " -7 "}), "<  -7 ");
}

class FieldEditingTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Раздел", ")?", "Вопрос", ")! 1", "да"});
    }
    void ClickArrow(SpinButtons* spin, bool up) { (up ? spin->UpButton() : spin->DownButton())->click(); }
};

TEST_F(FieldEditingTest, CaptionFollowsTheTitle)
{
    P().TestName->setText("  Новый тест");
    EXPECT_EQ(window->windowTitle(), "  Новый тест - Mirvane");
}

TEST_F(FieldEditingTest, TreeLabelsFollowTyping)
{
    Click("d1");
    P().TextDivName->setText("  Алгебра  ");
    EXPECT_EQ(Node("d1")->text(0), "Алгебра");
    EXPECT_EQ(P().TextDivName->text(), "  Алгебра  ");
    EXPECT_EQ(Doc().Divisions.Item("d1").Name, "Алгебра"); // the document has it as it will be saved

    Click("q2");
    P().TextQuest->setPlainText("Первая строка\nвторая");
    EXPECT_EQ(Node("q2")->text(0), "Первая строка вторая");
    P().TextQuest->setPlainText(QString(60, QChar(0x0436)));
    EXPECT_EQ(Node("q2")->text(0), QString(50, QChar(0x0436)));
    P().TextQuest->setPlainText("   отступ  ");
    EXPECT_EQ(Node("q2")->text(0), "отступ");
}

TEST_F(FieldEditingTest, QuestionAndAnswerTextsAreRewrapped)
{
    Click("q2");
    QString line;
    for (int i = 0; i < 15; ++i)
        line += (i ? " " : "") + QString(9, QChar(0x044E));
    P().TextQuest->setPlainText(line); // as a paste of 149 characters
    const QStringList lines = P().TextQuest->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 3);
    for (const QString& l : lines)
        EXPECT_LE(l.size(), 70);
    EXPECT_EQ(lines.join(' '), line);

    P().TextAnswer[1]->setPlainText(")! 5");
    EXPECT_EQ(P().TextAnswer[1]->toPlainText(), " )! 5");

    // The caret stays after what was typed.
    QPlainTextEdit* box = P().TextAnswer[2];
    box->setFocus();
    QTest::keyClicks(box, ")x");
    EXPECT_EQ(box->toPlainText(), " )x");
    EXPECT_EQ(box->textCursor().position(), 3);

    // What is stored is the rewrapped text.
    Click("d1");
    const Question& q = Doc().Divisions.Item("d1").Questions.Item("q2");
    EXPECT_EQ(q.AGet(1), " )! 5");
    EXPECT_EQ(q.Q(), lines.join("\r\n").toStdString());
}

TEST_F(FieldEditingTest, LowestThresholdLabel)
{
    Click("mrk");
    EXPECT_EQ(P().LabelMinScore->text(), "< 0"); // no threshold box has changed yet
    P().MarkScoreText[0]->setText("10");
    P().MarkScoreText[1]->setText("слово");
    P().MarkScoreText[2]->setText("05");
    P().MarkScoreText[3]->setText("5");
    EXPECT_EQ(P().LabelMinScore->text(), "< 05");
    for (int i = 0; i < 4; ++i)
        P().MarkScoreText[i]->setText("");
    EXPECT_EQ(P().LabelMinScore->text(), "< 32000");
}

TEST_F(FieldEditingTest, SpinArrowsStepTheirBoxes)
{
    P().TestTime->setText("600");
    ClickArrow(P().UpDownTestTime, true);
    EXPECT_EQ(P().TestTime->text(), "600");
    ClickArrow(P().UpDownTestTime, false);
    EXPECT_EQ(P().TestTime->text(), "599");

    Click("d1");
    P().TextNQ->setText("99");
    ClickArrow(P().UpDownNQ, true);
    EXPECT_EQ(P().TextNQ->text(), "100"); // beyond the typing limit of two characters
    P().TextNQ->setText("0");
    ClickArrow(P().UpDownNQ, false);
    EXPECT_EQ(P().TextNQ->text(), "0");

    Click("mrk");
    ClickArrow(P().UpDownBalls[4], false);
    EXPECT_EQ(P().MarkScoreText[4]->text(), "0");
    ClickArrow(P().UpDownBalls[4], false);
    EXPECT_EQ(P().MarkScoreText[4]->text(), "-1");
    EXPECT_EQ(P().LabelMinScore->text(), "< -1");

    Click("q2");
    P().TextQMark[0]->setText("32767");
    ClickArrow(P().UpDownQMark[0], true);
    EXPECT_EQ(P().TextQMark[0]->text(), "32767");
    EXPECT_TRUE(P().UpDownQMark[0]->UpButton()->autoRepeat());
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

// Typing as a teacher does it, through the real boxes: nothing typed may be
// lost, moved or turned into something else.
class TypingTest : public FieldEditingTest {
protected:
    QPlainTextEdit* Question()
    {
        Click("q2");
        QPlainTextEdit* box = P().TextQuest;
        box->setPlainText(QString());
        box->setFocus();
        return box;
    }
    std::string StoredQuestion()
    {
        Click("d1");
        return std::string(Doc().Divisions.Item("d1").Questions.Item("q2").Q());
    }
    // Ctrl+V runs the editor's Paste; Shift+Insert the box's own paste.
    void Paste(QWidget* box, const QString& text, bool ownPaste = false)
    {
        platform.clipboard.text = text;
        QApplication::clipboard()->setText(text);
        box->setFocus();
        if (ownPaste)
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        else
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(TypingTest, SpaceAtTheEndOfAFullLineBreaksTheLine)
{
    QPlainTextEdit* box = Question();
    QString words;
    while (words.size() < 60)
        words += (words.isEmpty() ? "" : " ") + QString("gggg");
    words += " ggggg"; // exactly 70 characters
    ASSERT_EQ(words.size(), 70);
    QTest::keyClicks(box, words + " word");
    EXPECT_EQ(box->toPlainText(), words + "\nword");
    EXPECT_EQ(StoredQuestion(), (words + "\r\nword").toStdString());

    box = Question();
    const QString letters(70, QChar('l'));
    QTest::keyClicks(box, letters + " word");
    EXPECT_EQ(box->toPlainText(), letters + "\nword");
    EXPECT_EQ(box->textCursor().position(), 75);
}

TEST_F(TypingTest, EveryLineBreakBecomesCrLf)
{
    QPlainTextEdit* box = Question();
    QTest::keyClicks(box, "ab");
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(box, "cd");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "ef");
    EXPECT_EQ(Node("q2")->text(0), "ab cd ef");
    EXPECT_EQ(StoredQuestion(), "ab\r\ncd\r\nef");

    box = Question();
    Paste(box, QString("x") + QChar::LineSeparator + "y\rz\nw" + QChar::ParagraphSeparator + "v");
    EXPECT_EQ(StoredQuestion(), "x\r\ny\r\nz\r\nw\r\nv");
    const std::string file = WriteTestFile(Doc(), DocumentOrder::FromCollections(Doc()));
    EXPECT_NE(file.find("x\r\ny\r\nz\r\nw\r\nv\r\n"), std::string::npos);
}

TEST_F(TypingTest, TypingAndPastingStopAtTheBoxLimits)
{
    struct Box {
        QLineEdit* edit;
        int limit;
        const char* node;
    };
    const Box boxes[] = {{P().TestName, 70, "par"},      {P().TestTime, 3, "par"},
                         {P().TextLogFile, 12, "par"},   {P().MarkText[3], 70, "mrk"},
                         {P().MarkScoreText[2], 3, "mrk"}, {P().TextDivName, 70, "d1"},
                         {P().TextNQ, 2, "d1"},          {P().TextQMark[4], 3, "q2"}};
    for (const Box& b : boxes) {
        Click(b.node);
        b.edit->clear();
        b.edit->setFocus();
        QTest::keyClicks(b.edit, QString(b.limit + 5, QChar('7')));
        EXPECT_EQ(b.edit->text().size(), b.limit) << b.edit->objectName().toStdString();
        for (bool ownPaste : {false, true}) {
            b.edit->clear();
            Paste(b.edit, QString(b.limit + 9, QChar('8')), ownPaste);
            EXPECT_EQ(b.edit->text(), QString(b.limit, QChar('8'))) << b.edit->objectName().toStdString();
        }
    }
    // A typed score can no longer leave the 16-bit range and become 0.
    Click("q2");
    P().TextQMark[0]->clear();
    P().TextQMark[0]->setFocus();
    QTest::keyClicks(P().TextQMark[0], "99999");
    Click("d1");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q2").AScoreGet(0), 999);
}

TEST_F(TypingTest, TypedTextIsKeptToWhatTheFileCanStore)
{
    QPlainTextEdit* box = Question();
    Paste(box, "«Война и мир» — роман…");
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUtf8("“"), Qt::NoModifier);
    EXPECT_EQ(box->toPlainText(), "\"Война и мир\" - роман...\"");

    QLineEdit* title = P().TestName;
    Click("par");
    title->clear();
    title->setFocus();
    QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, QString::fromUtf8("—"), Qt::NoModifier);
    EXPECT_EQ(title->text(), "-");

    // A character the file lacks stays, marked, and the status bar names it.
    Paste(title, "Цена 5€");
    EXPECT_EQ(title->text(), "-Цена 5€");
    EXPECT_TRUE(title->property("unstorable").toBool());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Символ «€» не сохранится в файле теста");
    title->setText("Цена 5 руб.");
    EXPECT_FALSE(title->property("unstorable").toBool());
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}

// Three lines copied from anywhere, with each kind of line break, reach a
// one-line box through the editor's paste, the box's own paste, an input
// method and the program's own text: the box keeps one line, and the file
// saved from it reads back whole.
TEST_F(TypingTest, OneLineBoxesTurnEveryLineBreakIntoASpace)
{
    const QString breaks[] = {"\r\n", "\r", "\n", "\v", "\f", QString(QChar(0x85)), QString(QChar::LineSeparator),
                              QString(QChar::ParagraphSeparator)};
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {P().TestName, "par"}, {P().TextLogFile, "par"}, {P().MarkText[1], "mrk"}, {P().TextDivName, "d1"}};
    for (const QString& br : breaks) {
        const QString pasted = "Ф" + br + ")* 9" + br + "ч2";
        const QString expected = "Ф )* 9 ч2";
        for (const auto& [box, node] : boxes) {
            SCOPED_TRACE(box->objectName().toStdString() + " " + ::testing::PrintToString(br.toStdString()));
            Click(node);
            for (bool ownPaste : {false, true}) {
                box->clear();
                Paste(box, pasted, ownPaste);
                EXPECT_EQ(box->text(), expected);
            }
            box->clear();
            box->setFocus();
            QInputMethodEvent composed;
            composed.setCommitString(pasted);
            QApplication::sendEvent(box, &composed);
            EXPECT_EQ(box->text(), expected);
            box->setText(pasted);
            EXPECT_EQ(box->text(), expected);
        }
    }
    P().MarkScoreText[0]->setText("4");
    Click("q2");
    const auto back = LoadBytes(WriteTestFile(Doc(), Document().Order()));
    EXPECT_TRUE(back.messages.empty());
    EXPECT_EQ(back.test->TestName, "Ф )* 9 ч2");
    EXPECT_EQ(back.test->LogFile, "Ф )* 9 ч2");
    ASSERT_EQ(back.test->Divisions.Count(), 1u);
    EXPECT_EQ(back.test->Divisions.Item(1).Name, "Ф )* 9 ч2");
    EXPECT_EQ(back.test->MarkDiscriptionsGet(1), "Ф )* 9 ч2");
}

TEST_F(TypingTest, ALongTitleFromAFileStaysWhole)
{
    const std::string title(100, 'T');
    Open({title, ")t 30", ")<", "Неуд", ")@ 0"});
    QLineEdit* box = P().TestName;
    EXPECT_EQ(box->text().size(), 100);
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, "x");
    EXPECT_EQ(box->text().size(), 100); // no longer than it was
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(box, "yz"); // typing over the selection keeps the length
    EXPECT_EQ(box->text(), QString::fromStdString(std::string(99, 'T') + "y"));
    Click("mrk");
    EXPECT_EQ(Doc().TestName, std::string(99, 'T') + "y");
}

} // namespace
} // namespace mirvane::testing
