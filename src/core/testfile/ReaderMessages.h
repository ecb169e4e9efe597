#pragma once
// What the test-file reader tells the user about a file, with the line it
// concerns. The editor shows each text in a message box, the command-line tool
// prints it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace mirvane {

struct ReaderMessage {
    std::int64_t Line = 0; // 1-based; 0 when the message concerns no single line
    std::string Text;
};

using MessageSink = std::function<void(const ReaderMessage&)>;

// The first messages of a file shown one by one, the rest only counted: a
// file broken on every line must not ask for a box to be closed per line.
class ShownMessages {
public:
    static constexpr int kShown = 25;

    // A sink that passes the first kShown messages to `show`; it refers to
    // this object, which must outlive it.
    MessageSink Through(std::function<void(const std::string&)> show)
    {
        return [this, show = std::move(show)](const ReaderMessage& m) {
            if (++count_ <= kShown)
                show(m.Text);
        };
    }

    // What was left unshown, or nothing when all were shown.
    std::string LeftOut() const
    {
        if (count_ <= kShown)
            return std::string();
        return "Ещё " + std::to_string(count_ - kShown) + " сообщений о строках этого файла не показано.";
    }

private:
    int count_ = 0;
};

namespace reader_text {
inline constexpr std::string_view kNotATestFile =
    "Данный файл не является файлом теста тулимара v1.x.\r\n"
    "Возможно это файл теста тулимара v2.x,\r\n"
    "формат которого не поддерживается программой.";
inline constexpr std::string_view kBadTime = "Ошибка при попытку считать время теста";
inline constexpr std::string_view kBadShowErrors =
    "Ошибка при попытке считать параметр \"Проводить работу над ошибками\"";
inline constexpr std::string_view kBadLogFile = "Ошибка при попытку считать имя журнала";
inline constexpr std::string_view kBadLogType = "Ошибка при попытке считать тип журнала";
inline constexpr std::string_view kBadMarkScore = "Ошибка при попытку считать оценку";
inline constexpr std::string_view kQuestionCountOutOfRange =
    "Попытка задать недопустимое число вопросов в разделе";
inline constexpr std::string_view kBadDivision = "Ошибка определения раздела";
inline constexpr std::string_view kQuestionOutsideDivision = "Ошибка - вопрос вне раздела!!!";
inline constexpr std::string_view kAnswerOutsideDivision = "Ошибка - ответ вне раздела!!!";
inline constexpr std::string_view kBadAnswerScore = "Ошибка при попытку считать оценку варианта ответа";
inline constexpr std::string_view kBadDivisionLine = "Недопустимая строка в содержимом раздела";
inline constexpr std::string_view kTooManyAnswers = "Ошибка!!! Более 9 вариантов ответа.";
inline constexpr std::string_view kUnknownCommand = "Ошибка - Неопознанная команда!!!";
} // namespace reader_text

} // namespace mirvane
