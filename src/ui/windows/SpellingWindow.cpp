#include "windows/SpellingWindow.h"

#include "check/SpellChecker.h"
#include "document/TestDocument.h"
#include "platform/TextBridge.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mirvane {

namespace {

// The box's position of a byte offset of a model text.
int BoxPosition(std::string_view text, std::size_t offset)
{
    return static_cast<int>(ToBoxLines(text.substr(0, offset)).size());
}

// The line of `text` that holds `offset`.
std::string LineAround(std::string_view text, std::size_t offset)
{
    const std::size_t before = text.rfind('\n', offset);
    const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
    std::size_t end = text.find('\r', offset);
    if (end == std::string_view::npos)
        end = text.size();
    return std::string(text.substr(start, end - start));
}

QPushButton* Button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

SpellingWindow::SpellingWindow(QWidget* mainWindow, SpellChecker& checker, Hooks hooks, std::string startKey)
    : QDialog(mainWindow), checker_(checker), hooks_(std::move(hooks)), startKey_(std::move(startKey))
{
    setObjectName(QStringLiteral("SpellingWindow"));
    setWindowTitle(QStringLiteral("Орфография"));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Нет в словаре:"), this));
    Sentence = new QLabel(this);
    Sentence->setObjectName(QStringLiteral("Sentence"));
    Sentence->setTextFormat(Qt::RichText);
    Sentence->setWordWrap(true);
    Sentence->setMinimumWidth(320);
    Sentence->setFrameShape(QFrame::StyledPanel);
    left->addWidget(Sentence);
    left->addWidget(new QLabel(QStringLiteral("Заменить на:"), this));
    Replacement = new QLineEdit(this);
    Replacement->setObjectName(QStringLiteral("Replacement"));
    left->addWidget(Replacement);
    left->addWidget(new QLabel(QStringLiteral("Варианты:"), this));
    Suggestions = new QListWidget(this);
    Suggestions->setObjectName(QStringLiteral("Suggestions"));
    left->addWidget(Suggestions);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    CommandReplace = Button(QStringLiteral("Заменить"), "CommandReplace", this);
    CommandReplaceAll = Button(QStringLiteral("Заменить все"), "CommandReplaceAll", this);
    CommandSkip = Button(QStringLiteral("Пропустить"), "CommandSkip", this);
    CommandSkipAll = Button(QStringLiteral("Пропустить все"), "CommandSkipAll", this);
    CommandAdd = Button(QStringLiteral("Добавить в словарь"), "CommandAdd", this);
    CommandClose = Button(QStringLiteral("Закрыть"), "CommandClose", this);
    for (QPushButton* button : {CommandReplace, CommandReplaceAll, CommandSkip, CommandSkipAll, CommandAdd})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(CommandClose);
    layout->addLayout(buttons);

    connect(Suggestions, &QListWidget::currentTextChanged, Replacement, &QLineEdit::setText);
    connect(Suggestions, &QListWidget::itemDoubleClicked, this, [this] { ReplaceWith(Replacement->text()); });
    connect(CommandReplace, &QPushButton::clicked, this, [this] { ReplaceWith(Replacement->text()); });
    connect(CommandReplaceAll, &QPushButton::clicked, this, [this] {
        if (stop_)
            replaceAll_[stop_->word] = Replacement->text();
        ReplaceWith(Replacement->text());
    });
    connect(CommandSkip, &QPushButton::clicked, this, [this] { PassOver(); });
    connect(CommandSkipAll, &QPushButton::clicked, this, [this] {
        if (stop_)
            hooks_.skipAll(ToQt(stop_->word));
        PassOver();
    });
    connect(CommandAdd, &QPushButton::clicked, this, [this] {
        if (stop_)
            hooks_.addToDictionary(ToQt(stop_->word));
        PassOver();
    });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::close);
}

QString SpellingWindow::CurrentWord() const { return stop_ ? ToQt(stop_->word) : QString(); }

void SpellingWindow::Start()
{
    const TestDocument& document = hooks_.committed();
    const std::vector<SpellingText> texts = SpellingTexts(document.Model(), document.Order());
    start_ = FirstTextOf(texts, startKey_);
    place_ = {start_, 0};
    wrapped_ = false;
    Next();
}

void SpellingWindow::Next()
{
    stop_.reset();
    for (;;) {
        const TestDocument& document = hooks_.committed();
        const std::vector<SpellingText> texts = SpellingTexts(document.Model(), document.Order());
        const auto found = NextMisspelling(texts, checker_, place_, wrapped_ ? start_ : texts.size());
        if (!found) {
            if (!wrapped_ && start_ > 0) {
                wrapped_ = true;
                place_ = {};
                continue;
            }
            Sentence->clear();
            Suggestions->clear();
            Replacement->clear();
            hooks_.done();
            close();
            return;
        }
        const SpellingText& text = texts[found->Place.Text];
        Stop stop{found->Place.Text, found->Place.Offset, found->Length, found->Word, nullptr, 0, 0};
        stop.boxStart = BoxPosition(text.Text, stop.offset);
        stop.boxLength = BoxPosition(text.Text, stop.offset + stop.length) - stop.boxStart;
        const std::string line = LineAround(text.Text, stop.offset);
        const std::string key(text.NodeKey);
        const SpellingField field = text.Field;
        const int slot = text.Slot;
        // Showing the node stores the panel: the texts are not used after it.
        hooks_.show(key);
        stop.box = hooks_.box(field, slot);
        place_ = {stop.text, stop.offset + stop.length};
        if (!stop.box)
            continue; // a text no box shows (a tenth answer) cannot be mended here
        stop_ = stop;
        if (const auto all = replaceAll_.find(stop.word); all != replaceAll_.end()) {
            ReplaceWith(all->second);
            return;
        }
        hooks_.select(stop.box, stop.boxStart, stop.boxLength);
        ShowStop(line);
        return;
    }
}

void SpellingWindow::ShowStop(const std::string& line)
{
    const std::string& word = stop_->word;
    const std::size_t at = line.find(word);
    QString html;
    if (at == std::string::npos) {
        html = QStringLiteral("<b><font color=\"red\">%1</font></b>").arg(ToQt(word).toHtmlEscaped());
    } else {
        html = ToQt(line.substr(0, at)).toHtmlEscaped() +
               QStringLiteral("<b><font color=\"red\">%1</font></b>").arg(ToQt(word).toHtmlEscaped()) +
               ToQt(line.substr(at + word.size())).toHtmlEscaped();
    }
    Sentence->setText(html);
    Suggestions->clear();
    for (const std::string& suggestion : checker_.Suggest(word))
        Suggestions->addItem(ToQt(suggestion));
    if (Suggestions->count() > 0)
        Suggestions->setCurrentRow(0);
    else
        Replacement->setText(ToQt(word));
}

void SpellingWindow::ReplaceWith(const QString& with)
{
    if (!stop_)
        return;
    hooks_.replace(stop_->box, stop_->boxStart, stop_->boxLength, with);
    place_ = {stop_->text, stop_->offset + with.toUtf8().size()};
    Next();
}

void SpellingWindow::PassOver()
{
    if (!stop_)
        return;
    place_ = {stop_->text, stop_->offset + stop_->length};
    Next();
}

} // namespace mirvane
