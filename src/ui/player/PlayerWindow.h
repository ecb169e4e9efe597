#pragma once
// The preview player's window: a test as the person being tested sees it.
// The title and a countdown; one question per screen with its answers as
// choices; at the end the score, the mark, and (when the test offers work on
// mistakes) the questions answered wrongly with their best answer. When the
// time runs out the test ends as if finished; Escape asks before leaving.
// The player never writes into the test file.
#include "player/PlayerSession.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QButtonGroup;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;
class QVBoxLayout;

namespace mirvane {

class Prompter;
class Test;

class PlayerWindow : public QWidget {
    Q_OBJECT
public:
    PlayerWindow(Prompter& prompter, std::uint32_t seed);
    ~PlayerWindow() override;

    // Reads the test, showing the reader's messages; false (after its
    // message) for a file that is not a test file.
    bool Load(std::string_view bytes);
    // The same for the test file at `path`: 0 when it is shown, 1 (after
    // the message) for a file that is not a test file, 2 for one that could
    // not be read.
    int Open(const std::string& path);

    const PlayerSession& Session() const { return *session_; }
    int SecondsLeft() const { return secondsLeft_; }
    bool Finished() const { return finished_; }
    std::size_t Current() const { return current_; }

    // Chooses the answer shown at `choice` (0 for the first) of the current
    // question, as a click on it does.
    void ChooseShown(int choice);
    // "Далее" / "Завершить".
    void Next();
    // One second of the countdown.
    void Tick();

    QLabel* TitleLabel = nullptr;
    QLabel* ClockLabel = nullptr;
    QLabel* QuestionLabel = nullptr;
    QLabel* ResultLabel = nullptr;
    QPushButton* NextButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Shows `test` from its first question.
    void Play(std::unique_ptr<Test> test);
    void ShowQuestion();
    void Finish(bool timeUp);
    void ShowClock();

    Prompter& prompter_;
    std::uint32_t seed_;
    std::unique_ptr<Test> test_;
    std::unique_ptr<PlayerSession> session_;
    std::size_t current_ = 0;
    int secondsLeft_ = 0;
    bool finished_ = false;
    QStackedWidget* pages_ = nullptr;
    QLabel* progress_ = nullptr;
    QWidget* choicesBox_ = nullptr;
    QVBoxLayout* choicesLayout_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    QTimer* clock_ = nullptr;
};

} // namespace mirvane
