#include "player/PlayerWindow.h"

#include "model/Test.h"
#include "platform/Prompter.h"
#include "platform/TextBridge.h"
#include "testfile/TestFileLoading.h"
#include "testfile/TestFileReader.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace mirvane {

namespace {

QLabel* WrappedLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString Text(std::string_view modelText) { return WithLfBreaks(ToQt(modelText)); }

} // namespace

PlayerWindow::PlayerWindow(Prompter& prompter, std::uint32_t seed)
    : prompter_(prompter), seed_(seed), test_(std::make_unique<Test>())
{
    setObjectName(QStringLiteral("vexopv"));
    setWindowTitle(QStringLiteral("Тестирование"));
    setMinimumSize(640, 420); // where the desktop does not maximize it
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    setFont(big);

    TitleLabel = WrappedLabel(this);
    QFont bold = TitleLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    TitleLabel->setFont(bold);
    ClockLabel = new QLabel(this);
    auto* top = new QHBoxLayout;
    top->addWidget(TitleLabel, 1);
    top->addWidget(ClockLabel);

    pages_ = new QStackedWidget(this);
    auto* questionPage = new QWidget(pages_);
    auto* questionLayout = new QVBoxLayout(questionPage);
    progress_ = new QLabel(questionPage);
    QuestionLabel = WrappedLabel(questionPage);
    choicesBox_ = new QWidget(questionPage);
    choicesLayout_ = new QVBoxLayout(choicesBox_);
    choices_ = new QButtonGroup(this);
    NextButton = new QPushButton(QStringLiteral("Далее"), questionPage);
    NextButton->setDefault(true);
    questionLayout->addWidget(progress_);
    questionLayout->addWidget(QuestionLabel);
    questionLayout->addWidget(choicesBox_);
    questionLayout->addStretch();
    questionLayout->addWidget(NextButton, 0, Qt::AlignRight);
    pages_->addWidget(questionPage);

    auto* resultPage = new QWidget(pages_);
    auto* resultLayout = new QVBoxLayout(resultPage);
    ResultLabel = WrappedLabel(resultPage);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), resultPage);
    resultLayout->addWidget(ResultLabel);
    resultLayout->addStretch();
    resultLayout->addWidget(close, 0, Qt::AlignRight);
    pages_->addWidget(resultPage);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);

    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &PlayerWindow::Tick);
    connect(NextButton, &QPushButton::clicked, this, &PlayerWindow::Next);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(choices_, &QButtonGroup::idClicked, this, [this](int slot) { session_->Choose(current_, slot); });
}

PlayerWindow::~PlayerWindow() = default;

bool PlayerWindow::Load(std::string_view bytes)
{
    auto test = std::make_unique<Test>();
    ShownMessages shown;
    TestFileReader reader(*test, shown.Through([this](const std::string& text) { prompter_.Notice(ToQt(text)); }));
    const bool isTestFile = reader.LoadFile(bytes);
    if (!shown.LeftOut().empty())
        prompter_.Notice(ToQt(shown.LeftOut()));
    if (!isTestFile)
        return false;
    Play(std::move(test));
    return true;
}

int PlayerWindow::Open(const std::string& path)
{
    TestFileLoading how;
    ShownMessages shown;
    how.Messages = shown.Through([this](const std::string& text) { prompter_.Notice(ToQt(text)); });
    LoadedTestFile loaded = LoadTestFile(path, how);
    if (!shown.LeftOut().empty())
        prompter_.Notice(ToQt(shown.LeftOut()));
    if (loaded.Error) {
        prompter_.Notice(ToQt(loaded.Error->Message));
        return loaded.Error->Refusal == ReadRefusal::NotATestFile ? 1 : 2;
    }
    Play(std::move(loaded.Read));
    return 0;
}

void PlayerWindow::Play(std::unique_ptr<Test> test)
{
    session_.reset(); // it refers to the test it replaces
    test_ = std::move(test);
    session_ = std::make_unique<PlayerSession>(*test_, DocumentOrder::FromCollections(*test_), seed_);
    TitleLabel->setText(Text(test_->TestName));
    secondsLeft_ = test_->TestTime * 60;
    ShowClock();
    current_ = 0;
    if (session_->Questions().empty())
        Finish(false);
    else
        ShowQuestion();
    clock_->start();
}

void PlayerWindow::ShowQuestion()
{
    const PlayerSession::Asked& asked = session_->Questions()[current_];
    progress_->setText(QStringLiteral("%1 — вопрос %2 из %3")
                           .arg(Text(asked.Division))
                           .arg(current_ + 1)
                           .arg(session_->Questions().size()));
    QuestionLabel->setText(Text(asked.Item->Q()));
    for (QAbstractButton* old : choices_->buttons()) {
        choices_->removeButton(old);
        delete old;
    }
    for (int slot : asked.Slots) {
        auto* choice = new QRadioButton(Text(asked.Item->AGet(slot)), choicesBox_);
        choices_->addButton(choice, slot);
        choicesLayout_->addWidget(choice);
    }
    const bool last = current_ + 1 == session_->Questions().size();
    NextButton->setText(last ? QStringLiteral("Завершить") : QStringLiteral("Далее"));
    pages_->setCurrentIndex(0);
}

void PlayerWindow::ChooseShown(int choice)
{
    if (finished_)
        return;
    const QList<QAbstractButton*> buttons = choices_->buttons();
    if (choice >= 0 && choice < buttons.size())
        buttons[choice]->click();
}

void PlayerWindow::Next()
{
    if (finished_)
        return;
    if (current_ + 1 < session_->Questions().size()) {
        ++current_;
        ShowQuestion();
    } else {
        Finish(false);
    }
}

void PlayerWindow::Tick()
{
    if (finished_)
        return;
    if (secondsLeft_ > 0)
        --secondsLeft_;
    ShowClock();
    if (secondsLeft_ == 0)
        Finish(true);
}

void PlayerWindow::ShowClock()
{
    ClockLabel->setText(QStringLiteral("Осталось: %1:%2")
                            .arg(secondsLeft_ / 60, 2, 10, QLatin1Char('0'))
                            .arg(secondsLeft_ % 60, 2, 10, QLatin1Char('0')));
}

void PlayerWindow::Finish(bool timeUp)
{
    finished_ = true;
    clock_->stop();
    QStringList lines;
    if (timeUp)
        lines << QStringLiteral("Время истекло.");
    lines << QStringLiteral("Набрано баллов: %1").arg(session_->Score());
    lines << QStringLiteral("Оценка: %1").arg(Text(session_->MarkDescription()));
    const auto& asked = session_->Questions();
    if (asked.size() == 1) // a preview of one question says how it went
        lines << (session_->ChoseBest(0) ? QStringLiteral("Выбран лучший вариант ответа.")
                                         : QStringLiteral("Выбран не лучший вариант ответа."));
    const std::vector<std::size_t> mistakes = session_->Mistakes();
    if (test_->ShowErrors != 0 && !mistakes.empty()) {
        lines << QString() << QStringLiteral("Работа над ошибками:");
        for (std::size_t i : mistakes) {
            const Question& q = *asked[i].Item;
            lines << QString() << Text(q.Q())
                  << QStringLiteral("Правильный ответ: %1").arg(Text(q.AGet(q.GetBestAnswer())));
        }
    }
    ResultLabel->setText(lines.join(QLatin1Char('\n')));
    pages_->setCurrentIndex(1);
}

void PlayerWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (finished_ || prompter_.AskYesNo(QStringLiteral("Прервать тестирование и выйти?"),
                                            QStringLiteral("Тестирование")) == Prompter::Answer::Yes)
            close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace mirvane
