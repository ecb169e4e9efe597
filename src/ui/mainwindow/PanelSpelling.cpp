#include "mainwindow/PanelSpelling.h"
#include "mainwindow/PanelBoxes.h"

#include "check/SpellChecker.h"
#include "windows/SpellingWindow.h"
#include "check/SpellingWalk.h"
#include "check/SpellingWords.h"
#include "document/TestDocument.h"
#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "editor/PanelTextBox.h"
#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/SpellingHighlighter.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "platform/TextBridge.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>

#include <filesystem>

#include <sys/resource.h>
#include <unistd.h>

namespace mirvane {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kUnderliningKey = QStringLiteral("SpellAsYouType");

// UTF-16 units of `bytes` of UTF-8: one for each character, two for one
// beyond the first plane.
int Utf16Units(std::string_view bytes)
{
    int units = 0;
    for (unsigned char c : bytes) {
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace

PanelSpelling::PanelSpelling(const Parts& parts, OpenDictionaries open, QObject* parent)
    : QObject(parent), parts_(parts)
{
    underlining_ = parts_.settings.Read(kSection, kUnderliningKey, QStringLiteral("1")).trimmed() != QLatin1String("0");
    EditPanels& p = parts_.panels;
    lines_ = {p.TestName, p.TextDivName};
    lines_.insert(lines_.end(), p.MarkText.begin(), p.MarkText.end());
    texts_ = {p.TextQuest};
    texts_.insert(texts_.end(), p.TextAnswer.begin(), p.TextAnswer.end());
    for (QLineEdit* box : lines_) {
        connect(box, &QLineEdit::textChanged, this, [this, box] { MarkLine(box); });
        if (auto* panelBox = dynamic_cast<PanelTextBox*>(box))
            panelBox->SetMenuAddition([this, box](QMenu& menu, QPoint at) { AddCorrections(box, menu, at); });
    }
    for (QPlainTextEdit* box : texts_) {
        new SpellingHighlighter(box->document(), [this](const QString& line) { return UnknownWords(line); });
        if (auto* panelBox = dynamic_cast<PanelTextBox*>(box))
            panelBox->SetMenuAddition([this, box](QMenu& menu, QPoint at) { AddCorrections(box, menu, at); });
    }
    if (!open)
        return;
    loading_ = std::async(std::launch::async, [open = std::move(open)] {
        // Read behind what the user does at start: the window's first keys
        // and clicks never wait for the dictionaries.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        return open();
    });
    poll_ = new QTimer(this);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (loading_.valid() && loading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            Loaded();
    });
    poll_->start(50);
}

PanelSpelling::~PanelSpelling() = default;

QTextCharFormat PanelSpelling::MarkFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

QString PanelSpelling::MissingDictionaryText()
{
    return QStringLiteral("Нет русского словаря: установите пакет %1")
        .arg(QString::fromLatin1(SpellChecker::kDictionaryPackage.data(),
                                 static_cast<int>(SpellChecker::kDictionaryPackage.size())));
}

void PanelSpelling::WaitForDictionaries()
{
    if (loading_.valid())
        Loaded();
}

bool PanelSpelling::Available() const { return checker_ != nullptr; }

bool PanelSpelling::Loading() const { return loading_.valid(); }

QString PanelSpelling::Unavailable() const { return Loading() || Available() ? QString() : MissingDictionaryText(); }

void PanelSpelling::FollowDictionaries(std::function<void()> changed)
{
    connect(this, &PanelSpelling::DictionariesRead, this, std::move(changed));
}

void PanelSpelling::Loaded()
{
    if (poll_)
        poll_->stop();
    try {
        checker_ = loading_.get();
    } catch (const std::exception&) {
        checker_.reset(); // dictionaries that cannot be read: spelling off
    }
    if (checker_ && !checker_->Available())
        checker_.reset();
    std::error_code ec;
    if (checker_ && std::filesystem::exists(UserDictionaryPath(), ec)) {
        if (auto problem = checker_->AddWordList(UserDictionaryPath()))
            parts_.prompter.Notice(ToQt(*problem));
    }
    MarkAgain();
    emit DictionariesRead(Available());
}

void PanelSpelling::SetUnderlining(bool on)
{
    underlining_ = on;
    parts_.settings.Write(kSection, kUnderliningKey, on ? QStringLiteral("1") : QStringLiteral("0"));
    MarkAgain();
}

std::vector<std::pair<int, int>> PanelSpelling::UnknownWords(const QString& text)
{
    std::vector<std::pair<int, int>> unknown;
    if (!checker_ || !underlining_)
        return unknown;
    const std::string utf8 = text.toStdString();
    const std::string_view all(utf8);
    std::size_t counted = 0;
    int position = 0;
    for (const WordSpan& span : CheckedWords(all)) {
        const std::string_view word = all.substr(span.Start, span.Length);
        if (checker_->IsKnown(word))
            continue;
        position += Utf16Units(all.substr(counted, span.Start - counted));
        counted = span.Start;
        unknown.emplace_back(position, Utf16Units(word));
    }
    return unknown;
}

void PanelSpelling::MarkAgain()
{
    for (QLineEdit* box : lines_)
        MarkLine(box);
    for (QPlainTextEdit* box : texts_) {
        if (auto* highlighter = box->document()->findChild<SpellingHighlighter*>())
            highlighter->rehighlight();
    }
}

void PanelSpelling::MarkLine(QLineEdit* box)
{
    // A line edit holds no highlighter; it takes formats for its text the
    // way an input method marks what it composes, relative to the caret.
    QList<QInputMethodEvent::Attribute> formats;
    const int caret = box->cursorPosition();
    for (const auto& [start, length] : UnknownWords(box->text()))
        formats.append({QInputMethodEvent::TextFormat, start - caret, length, MarkFormat()});
    if (formats.isEmpty() && !box->property("spellingMarked").toBool())
        return;
    box->setProperty("spellingMarked", !formats.isEmpty());
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(box, &event);
}

void PanelSpelling::SkipAll(const QString& word)
{
    if (!checker_)
        return;
    checker_->SkipAll(word.toStdString());
    MarkAgain();
}

void PanelSpelling::AddToDictionary(const QString& word)
{
    if (!checker_)
        return;
    if (auto problem = checker_->AddToDictionary(word.toStdString(), UserDictionaryPath()))
        parts_.prompter.Notice(ToQt(*problem));
    MarkAgain();
}

void PanelSpelling::SelectInBox(QWidget* box, int start, int length)
{
    box->setFocus();
    mirvane::SelectInBox(box, start, length);
}

void PanelSpelling::ReplaceInBox(QWidget* box, int start, int length, const QString& with)
{
    auto* panelBox = dynamic_cast<PanelTextBox*>(box);
    if (!panelBox)
        return;
    // A correction is a step of its own, never part of the typing around it.
    parts_.history.EndTypingRun();
    SelectInBox(box, start, length);
    panelBox->InsertAsTyped(with);
    parts_.history.EndTypingRun();
}

void PanelSpelling::AddCorrections(QWidget* box, QMenu& menu, QPoint at)
{
    QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().first();
    auto add = [&](const QString& caption, std::function<void()> run) {
        auto* action = new QAction(caption, &menu);
        menu.insertAction(first, action);
        connect(action, &QAction::triggered, this, std::move(run));
        return action;
    };
    if (!checker_) {
        if (Loading())
            return;
        // Said where the user looks for it: what to install.
        for (const QString& caption : {QStringLiteral("Пропустить все"), QStringLiteral("Добавить в словарь")}) {
            QAction* action = add(caption, [] {});
            action->setEnabled(false);
            action->setToolTip(MissingDictionaryText());
        }
        menu.setToolTipsVisible(true);
        menu.insertSeparator(first);
        return;
    }
    QString text;
    int position = 0;
    int base = 0;
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        text = line->text();
        position = line->cursorPositionAt(at);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        const QTextCursor cursor = edit->cursorForPosition(at);
        text = cursor.block().text();
        position = cursor.positionInBlock();
        base = cursor.block().position();
    }
    for (const auto& [start, length] : UnknownWords(text)) {
        if (position < start || position > start + length)
            continue;
        const QString word = text.mid(start, length);
        const int from = base + start;
        for (const std::string& suggestion : checker_->Suggest(word.toStdString())) {
            const QString correction = ToQt(suggestion);
            QAction* action = add(correction, [this, box, from, count = length, correction] {
                ReplaceInBox(box, from, count, correction);
            });
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
        add(QStringLiteral("Пропустить все"), [this, word] { SkipAll(word); });
        add(QStringLiteral("Добавить в словарь"), [this, word] { AddToDictionary(word); });
        menu.insertSeparator(first);
        return;
    }
}

void PanelSpelling::ShowWalk()
{
    WaitForDictionaries();
    if (!checker_) {
        parts_.prompter.Notice(MissingDictionaryText());
        return;
    }
    if (!walk_) {
        SpellingWindow::Hooks hooks;
        hooks.committed = [this]() -> const TestDocument& { return parts_.host.CommittedDocument(); };
        hooks.show = [this](const std::string& key) {
            parts_.tree.Select(key);
            parts_.host.ShowSelectedNode();
            parts_.tree.Select(parts_.state.CurrentKey); // scrolled into view
        };
        hooks.box = [this](SpellingField field, int slot) -> QWidget* {
            EditPanels& p = parts_.panels;
            switch (field) {
            case SpellingField::Title:
                return p.TestName;
            case SpellingField::Mark:
                return slot < EditPanels::kMarkRows ? p.MarkText[static_cast<std::size_t>(slot)] : nullptr;
            case SpellingField::DivisionName:
                return p.TextDivName;
            case SpellingField::QuestionText:
                return p.TextQuest;
            case SpellingField::Answer:
                return slot < EditPanels::kAnswerRows ? p.TextAnswer[static_cast<std::size_t>(slot)] : nullptr;
            }
            return nullptr;
        };
        hooks.select = &PanelSpelling::SelectInBox;
        hooks.replace = [this](QWidget* box, int start, int length, const QString& with) {
            ReplaceInBox(box, start, length, with);
        };
        hooks.skipAll = [this](const QString& word) { SkipAll(word); };
        hooks.addToDictionary = [this](const QString& word) { AddToDictionary(word); };
        hooks.done = [this] { parts_.prompter.Notice(QStringLiteral("Проверка орфографии завершена.")); };
        walk_ = new SpellingWindow(&parts_.mainWindow, *checker_, std::move(hooks), parts_.state.CurrentKey);
        walk_->setAttribute(Qt::WA_DeleteOnClose);
        walk_->adjustSize();
        // Beside the main window, or below it, where the screen has room:
        // the box with the word stays in view.
        const QRect main = parts_.mainWindow.frameGeometry();
        const QRect room = parts_.mainWindow.screen() ? parts_.mainWindow.screen()->availableGeometry() : QRect();
        for (const QPoint at : {QPoint(main.right() + 8, main.top()), QPoint(main.left(), main.bottom() + 8)}) {
            if (room.contains(QRect(at, walk_->frameSize()))) {
                walk_->move(at);
                break;
            }
        }
        walk_->show();
        walk_->Start();
    }
    // While it is open the command only brings it forward.
    if (walk_) {
        walk_->raise();
        walk_->activateWindow();
    }
}

SpellingWindow* PanelSpelling::Walk() const { return walk_; }

} // namespace mirvane
