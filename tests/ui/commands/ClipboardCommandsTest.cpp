// Cut, copy and paste in the editor, with a scripted clipboard: whole
// questions and divisions in the tree, plain text in the boxes, and never a
// record in a box.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/ClipboardCommands.h"
#include "clipboard/ClipboardRecord.h"
#include "commands/CommandActions.h"
#include "commands/StructuralEdits.h"
#include "testfile/TestFileWriter.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <map>
#include <random>

namespace mirvane::testing {
namespace {

using Keys = std::vector<std::string>;

class ClipboardTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        // d1: q2 q3; d4: q5
        Open({"T", ")t 30", ")<", "Неуд", ")* 2", "):Первый", ")?", "Сколько будет", "2+2?", ")! 1", "четыре",
              ")! -1", "пять", ")?", "второй", ")! 1", "да", ")* 1", "):Второй", ")?", "третий"});
        platform.prompter.Clear();
    }
    void OnTree(const std::string& key)
    {
        Click(key);
        Parts(*window).Tree().Widget()->setFocus();
    }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    std::string Saved() { return WriteTestFile(Doc(), Document().Order()); }
};

TEST_F(ClipboardTest, QuestionsAreCopiedAfterAQuestionAndIntoADivision)
{
    Doc().Divisions.Item("d1").Questions.Item("q2").AScoreSet(5, 7); // a score beside an empty slot
    OnTree("q2");
    Run(Command::Copy);
    EXPECT_TRUE(platform.clipboard.text.startsWith("=ВОПРОС=\r\n)?\r\nСколько будет\r\n2+2?\r\n)! 1\r\n"));

    OnTree("q3");
    Run(Command::Paste);
    const std::string pasted = Current();
    EXPECT_EQ(Document().QuestionKeys("d1"), (Keys{"q2", "q3", pasted}));
    EXPECT_EQ(P().TextQuest->toPlainText(), "Сколько будет\n2+2?");
    EXPECT_EQ(P().TextAnswer[1]->toPlainText(), "пять");
    EXPECT_EQ(P().TextQMark[1]->text(), "-1");
    EXPECT_EQ(Node(pasted)->text(0), "Сколько будет 2+2?");
    EXPECT_EQ(Document().QuestionAt(pasted).AScoreGet(5), 7); // all nine scores arrive

    OnTree("d4");
    Run(Command::Paste); // into a division: its last question
    EXPECT_EQ(Document().QuestionKeys("d4").size(), 2u);
    EXPECT_EQ(Document().QuestionKeys("d4").back(), Current());
    EXPECT_NE(Current(), pasted); // fresh keys for every copy
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(ClipboardTest, CutRemovesWithoutAskingAndPastesBackElsewhere)
{
    OnTree("q3");
    Run(Command::Cut);
    EXPECT_TRUE(platform.prompter.shown.empty());
    EXPECT_EQ(Document().QuestionKeys("d1"), (Keys{"q2"}));
    OnTree("q5");
    Run(Command::Paste);
    EXPECT_EQ(Document().QuestionKeys("d4").size(), 2u);
    EXPECT_EQ(Document().QuestionAt(Current()).Q(), "второй");

    OnTree("mrk"); // nothing to cut there: the clipboard keeps the question
    Run(Command::Cut);
    EXPECT_TRUE(platform.clipboard.text.startsWith("=ВОПРОС="));
}

TEST_F(ClipboardTest, ADivisionIsPastedWithItsNameCountAndQuestionsInTheOrderShown)
{
    OnTree("q3");
    Parts(*window).Edits().MoveUp(); // the division now shows q3, q2
    OnTree("d1");
    Run(Command::Copy);
    OnTree("q5");
    Run(Command::Paste); // after the question's division
    const DocumentOrder& order = Document().Order();
    ASSERT_EQ(order.Divisions.size(), 3u);
    const std::string division = order.Divisions[2].Key;
    EXPECT_EQ(Document().DivisionAt(division).Name, "Первый");
    EXPECT_EQ(Document().DivisionAt(division).NQ, 2);
    const Keys& questions = order.Divisions[2].QuestionKeys;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(Document().QuestionAt(questions[0]).Q(), "второй");
    EXPECT_EQ(Document().QuestionAt(questions[1]).Q(), "Сколько будет\r\n2+2?");
    EXPECT_EQ(Current(), questions[1]); // the panel shows the last pasted question
    EXPECT_EQ(Node(division)->text(0), "Первый");
    EXPECT_TRUE(P().TextQuest->isVisible());

    // A division without questions: its own panel.
    Document().DivisionAt("d4").Name = "Пустой";
    OnTree("q5");
    Parts(*window).Edits().CutItem();
    OnTree("d4");
    Run(Command::Copy);
    OnTree("par");
    Run(Command::Paste); // the first division
    EXPECT_EQ(Document().Order().Divisions.front().Key, Current());
    EXPECT_EQ(P().TextDivName->text(), "Пустой");
}

TEST_F(ClipboardTest, RecordsNeverLandInATextBox)
{
    OnTree("q2");
    Run(Command::Copy);
    const QString record = platform.clipboard.text;
    QApplication::clipboard()->setText(record);
    QPlainTextEdit* box = P().TextAnswer[2];
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    Run(Command::Paste);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); // the box's own paste
    EXPECT_EQ(box->toPlainText(), "");
    QLineEdit* line = P().TextQMark[2];
    line->setFocus();
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(line->text(), "");

    // Ordinary text is pasted once, and copied from the box, not the question.
    platform.clipboard.text = "ответ";
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->toPlainText(), "ответ");
    box->selectAll();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard.text, "ответ");
    Run(Command::Cut);
    EXPECT_EQ(box->toPlainText(), "");
}

TEST_F(ClipboardTest, PastesThatCannotApplyChangeNothing)
{
    const std::string before = Saved();
    OnTree("q2");
    Run(Command::Copy);
    for (const char* node : {"par", "mrk"}) {
        OnTree(node);
        Run(Command::Paste);
    }
    const char* malformed[] = {
        "просто текст",
        "",
        "=ВОПРОС",
        "=ВОПРОС=\r\n)!\r\n)! x\r\n)!5\r\n)",
    };
    for (const char* text : malformed) {
        platform.clipboard.text = QString::fromUtf8(text);
        OnTree("par");
        Run(Command::Paste);
    }
    EXPECT_EQ(Saved(), before);
    EXPECT_TRUE(platform.prompter.shown.empty());

    // A malformed record pasted where it can go still gives a sound item.
    platform.clipboard.text = "=ВОПРОС=\r\n)?\r\nтекст\r\n)! x\r\na\r\n)!\r\nb\r\n";
    OnTree("q2");
    Run(Command::Paste);
    const Question& q = Document().QuestionAt(Current());
    EXPECT_EQ(q.Q(), "текст");
    EXPECT_EQ(q.AGet(1), "b");
    EXPECT_EQ(q.AScoreGet(0), 0);

    platform.clipboard.text = "=РАЗДЕЛ=\r\n)*\r\n):\r\nдо вопроса\r\n";
    OnTree("par"); // a division can be made anywhere
    Run(Command::Paste);
    EXPECT_EQ(Document().Order().Divisions.front().Key, Current());
    EXPECT_EQ(Document().DivisionAt(Current()).NQ, 1);
    EXPECT_TRUE(Document().QuestionKeys(Current()).empty());
}

// Random cuts, copies, pastes, moves and deletes on a test of 50 questions,
// checked after every step against a plain list of the document; the file
// saved at the end reads back as the same document.
TEST_F(ClipboardTest, RandomClipboardEditsAgreeWithAListModel)
{
    std::vector<std::string> lines = {"T", ")t 30", ")<", "Неуд"};
    for (int d = 0; d < 5; ++d) {
        lines.push_back(")* 1");
        lines.push_back("):Раздел " + std::to_string(d));
        for (int q = 0; q < 10; ++q) {
            lines.push_back(")?");
            lines.push_back("вопрос " + std::to_string(d) + "." + std::to_string(q));
        }
    }
    std::string file;
    for (const auto& l : lines)
        file += l + "\r\n";
    auto loaded = LoadBytes(AnsiToOem(file));
    window->ShowDocument(std::make_unique<TestDocument>(std::move(loaded.test)));

    struct Item {
        std::string key, text;
        std::vector<Item> questions;
    };
    std::vector<Item> list;
    for (const auto& d : Document().Order().Divisions) {
        list.push_back({d.Key, Document().DivisionAt(d.Key).Name, {}});
        for (const auto& q : d.QuestionKeys)
            list.back().questions.push_back({q, std::string(Document().QuestionAt(q).Q()), {}});
    }
    std::optional<Item> copied; // what the clipboard holds, as the list sees it
    bool copiedDivision = false;
    auto find = [&](const std::string& key, int& d, int& q) {
        for (d = 0; d < static_cast<int>(list.size()); ++d) {
            q = -1;
            if (list[d].key == key)
                return;
            for (q = 0; q < static_cast<int>(list[d].questions.size()); ++q)
                if (list[d].questions[q].key == key)
                    return;
        }
        d = -1;
    };

    std::mt19937 random(7);
    for (int step = 0; step < 300; ++step) {
        Keys all = {"par", "mrk"};
        for (auto& d : list) {
            all.push_back(d.key);
            for (auto& q : d.questions)
                all.push_back(q.key);
        }
        const std::string target = all[random() % all.size()];
        const NodeKind kind = KindOf(target);
        int d = -1, q = -1;
        find(target, d, q);
        OnTree(target);
        const int op = static_cast<int>(random() % 6);
        if (op <= 1 && (kind == NodeKind::Division || kind == NodeKind::Question)) { // copy or cut
            copied = kind == NodeKind::Division ? list[d] : list[d].questions[q];
            copiedDivision = kind == NodeKind::Division;
            Run(op == 0 ? Command::Copy : Command::Cut);
            if (op == 1) {
                if (kind == NodeKind::Division)
                    list.erase(list.begin() + d);
                else
                    list[d].questions.erase(list[d].questions.begin() + q);
            }
        } else if (op == 2 && copied) {
            Run(Command::Paste);
            if (copiedDivision) {
                const int at = kind == NodeKind::Division || kind == NodeKind::Question ? d + 1 : 0;
                const auto& entry = Document().Order().Divisions.at(static_cast<std::size_t>(at));
                Item pasted{entry.Key, copied->text, {}};
                ASSERT_EQ(entry.QuestionKeys.size(), copied->questions.size()) << step;
                for (std::size_t i = 0; i < entry.QuestionKeys.size(); ++i)
                    pasted.questions.push_back({entry.QuestionKeys[i], copied->questions[i].text, {}});
                list.insert(list.begin() + at, pasted);
            } else if (kind == NodeKind::Division || kind == NodeKind::Question) {
                auto& questions = list[d].questions;
                questions.insert(kind == NodeKind::Division ? questions.end() : questions.begin() + q + 1,
                                 Item{Current(), copied->text, {}});
            }
        } else if (op == 3) {
            Parts(*window).Edits().CutItem();
            if (kind == NodeKind::Division)
                list.erase(list.begin() + d);
            else if (kind == NodeKind::Question)
                list[d].questions.erase(list[d].questions.begin() + q);
        } else if (op == 4 || op == 5) {
            const bool down = op == 5;
            down ? Parts(*window).Edits().MoveDown() : Parts(*window).Edits().MoveUp();
            if (kind == NodeKind::Division) {
                const int to = down ? d + 1 : d - 1;
                if (to >= 0 && to < static_cast<int>(list.size()))
                    std::swap(list[d], list[to]);
            } else if (kind == NodeKind::Question) {
                auto& questions = list[d].questions;
                const int to = down ? q + 1 : q - 1;
                if (to >= 0 && to < static_cast<int>(questions.size()))
                    std::swap(questions[q], questions[to]);
            }
        }
        const DocumentOrder& order = Document().Order();
        ASSERT_EQ(order.Divisions.size(), list.size()) << step;
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(order.Divisions[i].Key, list[i].key) << step;
            ASSERT_EQ(Document().DivisionAt(list[i].key).Name, list[i].text) << step;
            ASSERT_EQ(order.Divisions[i].QuestionKeys.size(), list[i].questions.size()) << step;
            for (std::size_t j = 0; j < list[i].questions.size(); ++j) {
                ASSERT_EQ(order.Divisions[i].QuestionKeys[j], list[i].questions[j].key) << step;
                ASSERT_EQ(Document().QuestionAt(list[i].questions[j].key).Q(), list[i].questions[j].text) << step;
            }
        }
    }

    window->ShowSelectedNode();
    auto back = LoadBytes(Saved());
    ASSERT_EQ(back.test->Divisions.Count(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Division& d = back.test->Divisions.Item(i + 1);
        EXPECT_EQ(d.Name, list[i].text);
        ASSERT_EQ(d.Questions.Count(), list[i].questions.size());
        for (std::size_t j = 0; j < list[i].questions.size(); ++j)
            EXPECT_EQ(d.Questions.Item(j + 1).Q(), list[i].questions[j].text);
    }
}

} // namespace
} // namespace mirvane::testing
