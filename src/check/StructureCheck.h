#pragma once
// The structure check: the test against the player's limits, one finding at a
// time. Rules run in a fixed order and the first that fails is reported, with
// the key of the tree node where the problem lies.
#include <string>
#include <string_view>

namespace mirvane {

class Test;

struct CheckFinding {
    bool Found = false;
    std::string NodeKey; // "mrk", "par", a division's or a question's key; empty when nothing was found
    std::string Message; // the finding, or the closing message
};

namespace check_text {
inline constexpr std::string_view kNoFailingMark = "Не задана минимальная оценка!!!";
inline constexpr std::string_view kTooFewMarks = "В тесте менее двух вариантов оценки!!!";
inline constexpr std::string_view kEqualMarkScores = "В тесте присутствуют оценки с одинаковым числом баллов!!!";
inline constexpr std::string_view kEmptyDivision = "В тесте присутствует пустой раздел!!!";
inline constexpr std::string_view kTooFewQuestions = "Попытка задать болше вопросов, чем присутствует в разделе!!!";
inline constexpr std::string_view kTooManyAsked =
    "Попытка задать более 25 вопросов !!!\r\nПопробуйте уменьшить число задаваемых вопросов по разделам.";
inline constexpr std::string_view kTooFewAnswers = "Менее двух вариантов ответа на вопрос !!!";
inline constexpr std::string_view kSeveralBest = "Более одного варианта ответа с максисмальной оценкой !!!";
inline constexpr std::string_view kTooManyLines = "Вопрос занимает более 17 строк!!!";
inline constexpr std::string_view kNothingFound = "Проверка закончена. Ошибок в структуре теста не обнаружено";
} // namespace check_text

// Divisions and questions are visited in the order of their collections.
CheckFinding CheckStructure(const Test& test);

} // namespace mirvane
