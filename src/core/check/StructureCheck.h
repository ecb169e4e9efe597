#pragma once
// The structure check: the test against the player's limits, one finding at a
// time. Rules run in a fixed order and the first that fails is reported, with
// the key of the tree node where the problem lies.
#include <cstddef>
#include <functional>
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

// The rules of the check, in the order they run.
enum class StructureRule {
    NoFailingMark,
    TooFewMarks,
    EqualMarkScores,
    EmptyDivision,
    TooFewQuestions,
    TooManyAsked,
    TooFewAnswers,
    SeveralBest,
    TooManyLines,
};

std::string_view RuleMessage(StructureRule rule);

inline constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

// One failing rule and where: positions are 0-based in the order of the
// collections; those that do not apply are kNoPosition.
struct StructureFault {
    StructureRule Rule;
    std::string_view NodeKey;
    int Mark = -1;                           // equal scores: the later mark slot of the pair
    std::size_t Division = kNoPosition;      // the division, or the question's division
    std::size_t Question = kNoPosition;      // the question within its division
    std::size_t QuestionInTest = kNoPosition; // the question among all of the test
};

// Every failing rule: the marks rules once each (equal scores once for each
// pair), the division rules for each division and the question rules for
// each question, rules in their order and each over the whole test before
// the next.
void ForEachStructureFault(const Test& test, const std::function<void(const StructureFault&)>& fault);

} // namespace mirvane
