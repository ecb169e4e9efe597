#include "GeneratedTest.h"

#include "model/KeyCounter.h"
#include "model/NodeKey.h"

#include <cstdint>
#include <string>

namespace mirvane::bench {

namespace {

const char* const kWords[] = {
    "вопрос", "ответ", "уравнение", "треугольник", "скорость", "энергия", "молекула", "государство",
    "литература", "произведение", "герой", "число", "функция", "производная", "интеграл", "площадь",
    "история", "реформа", "век", "атом", "кислород", "вода", "температура", "давление", "сила",
    "масса", "ускорение", "закон", "Ньютона", "Пушкина", "Толстого", "равно", "больше", "меньше",
    "сколько", "какой", "почему", "где", "когда", "определите", "вычислите", "укажите", "верно",
};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];

class Words {
public:
    std::string Line(int words)
    {
        std::string out;
        for (int i = 0; i < words; ++i) {
            if (i)
                out += ' ';
            out += kWords[Next() % kWordCount];
        }
        return out;
    }
    std::uint32_t Next() { return seed_ = seed_ * 1664525u + 1013904223u, seed_ >> 8; }

private:
    std::uint32_t seed_ = 2024;
};

} // namespace

std::unique_ptr<Test> GenerateTest(int questions, int questionsPerDivision, bool shortTexts)
{
    auto test = std::make_unique<Test>();
    test->TestName = "Итоговый экзамен по естественным наукам";
    test->TestTime = 90;
    test->MarkDiscriptionsSet(0, "Неудовлетворительно");
    test->MarkScoresSet(0, Test::kFailingMarkScore);
    test->MarkDiscriptionsSet(1, "Удовлетворительно");
    test->MarkScoresSet(1, 10);
    test->MarkDiscriptionsSet(2, "Хорошо");
    test->MarkScoresSet(2, 15);
    test->MarkDiscriptionsSet(3, "Отлично");
    test->MarkScoresSet(3, 20);

    Words words;
    Division* division = nullptr;
    for (int i = 0; i < questions; ++i) {
        if (i % questionsPerDivision == 0) {
            auto d = std::make_unique<Division>();
            const std::string divisionKey = NextKey(NodeKind::Division);
            d->Key = divisionKey;
            d->Name = "Раздел " + words.Line(2);
            d->NQ = 2;
            division = &test->Divisions.Add(divisionKey, std::move(d));
        }
        auto q = std::make_unique<Question>();
        const std::string questionKey = NextKey(NodeKind::Question);
        q->Key = questionKey;
        const int lines = 1 + static_cast<int>(words.Next() % (shortTexts ? 2 : 3));
        std::string text;
        for (int l = 0; l < lines; ++l) {
            if (l)
                text += "\r\n";
            text += words.Line(shortTexts ? 9 : 10);
        }
        q->QSet(std::move(text));
        const int answers = 4 + static_cast<int>(words.Next() % 2);
        for (int a = 0; a < answers; ++a) {
            q->ASet(a, words.Line((shortTexts ? 2 : 6) + static_cast<int>(words.Next() % (shortTexts ? 4 : 5))));
            q->AScoreSet(a, static_cast<std::int16_t>(a == 0 ? 1 : 0));
        }
        division->Questions.Add(questionKey, std::move(q));
    }
    return test;
}

} // namespace mirvane::bench
