#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "check/SpellChecker.h"
#include "windows/SpellingWindow.h"
#include "commands/CommandActions.h"
#include "editor/EditHistory.h"
#include "mainwindow/PanelSpelling.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QUndoStack>

#include <filesystem>

namespace mirvane::testing {
namespace {

// Pixels of the box drawn clearly red: the wavy line under a word.
int RedPixels(QWidget* box)
{
    QApplication::processEvents();
    const QImage image = box->grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() - std::max(c.green(), c.blue()) > 60 ? 1 : 0;
        }
    }
    return red;
}

// Opens the box's context menu at the word's place and gives its entries'
// captions; `choose`, when given, is chosen.
QStringList ContextMenu(QWidget* box, QPoint at, const QString& choose = {})
{
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                captions << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" [") + action->toolTip() + ']');
        }
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            chosen = action->text() == choose ? action : chosen;
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    QWidget* target = qobject_cast<QPlainTextEdit*>(box) ? qobject_cast<QPlainTextEdit*>(box)->viewport() : box;
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    return captions;
}

class SpellingTest : public EditorFixture {
protected:
    void SetUp() override
    {
        if (!SpellChecker().Available())
            GTEST_SKIP() << "the Russian dictionary (hunspell-ru) is not installed";
        // Each test its own folder: ctest runs them side by side.
        data_ = std::filesystem::path(::testing::TempDir()) /
                ("mirvane-spelling-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(data_);
        setenv("XDG_DATA_HOME", data_.c_str(), 1);
        platform.dictionaries = [] { return std::make_unique<SpellChecker>(); };
        EditorFixture::SetUp();
        Parts(*window).Spelling().WaitForDictionaries();
        Open({"Провекра знаний", ")< ", "Незачот", ")* 1", "):Грамматикка", ")?", "Какое значение", "верно? Ошибкка",
              ")! 1", "Правильно", ")! 0", "Непровильно", "):"});
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        unsetenv("XDG_DATA_HOME");
    }
    std::string QuestionKey() { return Doc().Divisions.Item(1).Questions.Item(1).Key; }

    std::filesystem::path data_;
};

TEST_F(SpellingTest, UnknownWordsAreUnderlinedUntilSwitchedOff)
{
    EXPECT_GT(RedPixels(P().TestName), 0);
    Click(QuestionKey());
    EXPECT_GT(RedPixels(P().TextQuest), 0);
    EXPECT_GT(RedPixels(P().TextAnswer[1]), 0);
    EXPECT_EQ(RedPixels(P().TextAnswer[0]), 0);

    QAction* asYouType = Parts(*window).Actions().Get(Command::SpellAsYouType);
    ASSERT_TRUE(asYouType->isChecked());
    asYouType->trigger();
    EXPECT_EQ(RedPixels(P().TextQuest), 0);
    EXPECT_EQ(platform.settings.values.value(QStringLiteral("Settings/SpellAsYouType")), QStringLiteral("0"));
    Click("par");
    EXPECT_EQ(RedPixels(P().TestName), 0);
}

TEST_F(SpellingTest, ACorrectionFromTheMenuIsOneUndoStep)
{
    Click(QuestionKey());
    QPlainTextEdit* box = P().TextQuest;
    QTextCursor cursor(box->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    box->setTextCursor(cursor);
    Type(box, QStringLiteral(" да"));
    const int steps = Parts(*window).History().Stack().count();
    const QPoint word = box->cursorRect(QTextCursor(box->document()->findBlockByNumber(1))).center() + QPoint(60, 0);
    const QStringList captions = ContextMenu(box, word, QStringLiteral("Ошибка"));
    ASSERT_GE(captions.size(), 3);
    EXPECT_EQ(captions.first(), QStringLiteral("Ошибка"));
    EXPECT_TRUE(captions.contains(QStringLiteral("Пропустить все")));
    EXPECT_TRUE(captions.contains(QStringLiteral("Добавить в словарь")));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Какое значение\nверно? Ошибка да"));
    EXPECT_EQ(Parts(*window).History().Stack().count(), steps + 1);
    Parts(*window).History().Undo();
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Какое значение\nверно? Ошибкка да"));

    // Added words stay known, for this editor and the next.
    ContextMenu(P().TextAnswer[1], QPoint(10, 8), QStringLiteral("Добавить в словарь"));
    EXPECT_EQ(RedPixels(P().TextAnswer[1]), 0);
    SpellChecker later;
    ASSERT_FALSE(later.IsKnown("Непровильно"));
    later.AddWordList(UserDictionaryPath());
    EXPECT_TRUE(later.IsKnown("Непровильно"));
}

TEST_F(SpellingTest, TheWalkStopsAtEachUnknownWordInItsBox)
{
    Parts(*window).Actions().Get(Command::SpellingWalk)->trigger();
    SpellingWindow* walk = Parts(*window).Spelling().Walk();
    ASSERT_NE(walk, nullptr);
    QStringList words;
    QStringList selected;
    std::vector<std::string> nodes;
    for (int i = 0; i < 10 && walk && !walk->CurrentWord().isEmpty(); ++i) {
        words << walk->CurrentWord();
        nodes.push_back(Current());
        QWidget* focused = QApplication::focusWidget();
        if (auto* line = qobject_cast<QLineEdit*>(focused))
            selected << line->selectedText();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(focused))
            selected << text->textCursor().selectedText();
        if (walk->CurrentWord() == QStringLiteral("Ошибкка")) {
            EXPECT_EQ(walk->Replacement->text(), QStringLiteral("Ошибка"));
            walk->CommandReplace->click();
        } else {
            walk->CommandSkip->click();
        }
    }
    EXPECT_EQ(words, (QStringList{"Провекра", "Незачот", "Грамматикка", "Ошибкка", "Непровильно"}));
    EXPECT_EQ(selected, words);
    const std::string question = QuestionKey();
    EXPECT_EQ(nodes, (std::vector<std::string>{"par", "mrk", Doc().Divisions.Item(1).Key, question, question}));
    ASSERT_FALSE(platform.prompter.shown.empty());
    EXPECT_EQ(platform.prompter.shown.back().Text, QStringLiteral("Проверка орфографии завершена."));
    EXPECT_EQ(P().TextQuest->toPlainText(), QStringLiteral("Какое значение\nверно? Ошибка"));
    Parts(*window).History().Undo();
    EXPECT_EQ(P().TextQuest->toPlainText(), QStringLiteral("Какое значение\nверно? Ошибкка"));
}

TEST_F(EditorFixture, WithoutDictionariesTheSpellingEntriesSayWhatToInstall)
{
    window.reset();
    platform.dictionaries = [] { return std::make_unique<SpellChecker>(::testing::TempDir()); };
    EditorFixture::SetUp();
    Parts(*window).Spelling().WaitForDictionaries();
    for (Command command : {Command::SpellingWalk, Command::SpellAsYouType}) {
        EXPECT_FALSE(Parts(*window).Actions().Get(command)->isEnabled());
        EXPECT_TRUE(Parts(*window).Actions().Get(command)->toolTip().contains(QStringLiteral("hunspell-ru")));
    }
    P().TestName->setText(QStringLiteral("Провекра"));
    EXPECT_EQ(RedPixels(P().TestName), 0);
    const QStringList captions = ContextMenu(P().TestName, QPoint(10, 5));
    EXPECT_TRUE(captions.contains(QStringLiteral("Пропустить все [") + PanelSpelling::MissingDictionaryText() + ']'));
}

} // namespace
} // namespace mirvane::testing
