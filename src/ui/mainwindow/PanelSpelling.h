#pragma once
// Spelling in the editing panel: the unknown words of the boxes the user
// writes words in (the title, the marks, the division's name, the question
// and its answers; never the journal file) are underlined with a red wavy
// line, and each box's context menu offers corrections, "Пропустить все"
// and "Добавить в словарь". Also the walk through the whole test
// ("Орфография...").
//
// The dictionaries take a moment to read: they are read in the background
// as the window opens, and nothing is marked until they are there. Without
// the Russian dictionary nothing is marked and the entries are disabled.
#include "editor/SpellingCommands.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextCharFormat>

#include <functional>
#include <future>
#include <memory>
#include <utility>
#include <vector>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QWidget;

namespace mirvane {

class EditHistory;
class EditPanels;
class PanelHost;
class Prompter;
class Settings;
class SpellChecker;
class SpellingWindow;
enum class SpellingField;
class StructureTree;
struct EditorState;

class PanelSpelling : public QObject, public SpellingCommands {
    Q_OBJECT
public:
    using OpenDictionaries = std::function<std::unique_ptr<SpellChecker>()>;
    struct Parts {
        EditPanels& panels;
        EditHistory& history;
        Settings& settings;
        Prompter& prompter;
        StructureTree& tree;
        PanelHost& host;
        EditorState& state;
        QWidget& mainWindow;
    };
    // `open` reads the dictionaries (on another thread); none: spelling off.
    PanelSpelling(const Parts& parts, OpenDictionaries open, QObject* parent);
    ~PanelSpelling() override;

    static QTextCharFormat MarkFormat();
    // Why the entries are disabled: the package to install.
    static QString MissingDictionaryText();

    // Waits for the dictionaries being read, then marks the boxes.
    void WaitForDictionaries();
    // False until the dictionaries are read, and without them.
    bool Available() const;
    bool Loading() const;
    SpellChecker* Checker() const { return checker_.get(); }

    // "Проверять орфографию при вводе", kept in the settings.
    bool Underlining() const override { return underlining_; }
    void SetUnderlining(bool on) override;
    QString Unavailable() const override;
    void FollowDictionaries(std::function<void()> changed) override;

    // The unknown words of `text` as (start, length) in UTF-16 positions;
    // nothing while the underlining is off.
    std::vector<std::pair<int, int>> UnknownWords(const QString& text);

    void SkipAll(const QString& word);
    void AddToDictionary(const QString& word);

    // Replaces `length` characters at `start` of a panel box as the user's
    // edit: one undo step, the box's limits and code-page rules applied.
    void ReplaceInBox(QWidget* box, int start, int length, const QString& with);
    // Selects them, the box focused.
    static void SelectInBox(QWidget* box, int start, int length);

    // "Орфография...": the walk window, from the current node.
    void ShowWalk() override;
    SpellingWindow* Walk() const;

    // Every box marked again (a word added, the underlining switched).
    void MarkAgain();

signals:
    void DictionariesRead(bool available);

private:
    void Loaded();
    void MarkLine(QLineEdit* box);
    void AddCorrections(QWidget* box, QMenu& menu, QPoint at);

    Parts parts_;
    std::future<std::unique_ptr<SpellChecker>> loading_;
    QTimer* poll_ = nullptr;
    std::unique_ptr<SpellChecker> checker_;
    bool underlining_ = true;
    std::vector<QLineEdit*> lines_;
    std::vector<QPlainTextEdit*> texts_;
    QPointer<SpellingWindow> walk_;
};

} // namespace mirvane
