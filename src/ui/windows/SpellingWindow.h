#pragma once
// "Орфография": walks the unknown words of the test in document order from
// the node that was current, to the end and round from the beginning. At
// each word its node is selected, its panel shown and the word selected in
// its box; the window shows the word in its line and the corrections.
// "Заменить" replaces it as the user's edit (an undo step); "Заменить все"
// also replaces the word wherever the walk meets it again; "Пропустить",
// "Пропустить все" (for the session) and "Добавить в словарь" go on.
// Modeless, like the findings window, so the user may edit meanwhile.
#include "check/SpellingWalk.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace mirvane {

class SpellChecker;
class TestDocument;

class SpellingWindow : public QDialog {
    Q_OBJECT
public:
    // What the walk asks of the editor.
    struct Hooks {
        std::function<const TestDocument&()> committed; // the panel stored, the document
        std::function<void(const std::string& key)> show; // the node selected, its panel shown
        std::function<QWidget*(SpellingField field, int slot)> box; // the panel's box of a text; none: not shown
        std::function<void(QWidget* box, int start, int length)> select;
        std::function<void(QWidget* box, int start, int length, const QString& with)> replace;
        std::function<void(const QString& word)> skipAll;
        std::function<void(const QString& word)> addToDictionary;
        std::function<void()> done; // "Проверка орфографии завершена."
    };

    SpellingWindow(QWidget* mainWindow, SpellChecker& checker, Hooks hooks, std::string startKey);

    // Goes to the first unknown word.
    void Start();

    QLabel* Sentence = nullptr;
    QLineEdit* Replacement = nullptr;
    QListWidget* Suggestions = nullptr;
    QPushButton* CommandReplace = nullptr;
    QPushButton* CommandReplaceAll = nullptr;
    QPushButton* CommandSkip = nullptr;
    QPushButton* CommandSkipAll = nullptr;
    QPushButton* CommandAdd = nullptr;
    QPushButton* CommandClose = nullptr;

    // The word the walk stands at (empty at the end).
    QString CurrentWord() const;

private:
    struct Stop {
        std::size_t text = 0;
        std::size_t offset = 0;
        std::size_t length = 0;
        std::string word;
        QWidget* box = nullptr;
        int boxStart = 0;
        int boxLength = 0;
    };
    // On to the next unknown word from place_, or the end.
    void Next();
    void ReplaceWith(const QString& with);
    void PassOver();
    void ShowStop(const std::string& line);

    SpellChecker& checker_;
    Hooks hooks_;
    std::string startKey_;
    std::size_t start_ = 0;
    bool wrapped_ = false;
    SpellingPlace place_;
    std::optional<Stop> stop_;
    std::map<std::string, QString> replaceAll_;
};

} // namespace mirvane
