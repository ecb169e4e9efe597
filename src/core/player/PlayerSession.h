#pragma once
// One run of a test as the person being tested meets it in the preview
// player: from each division, in document order, as many questions as it
// asks (all of them when it has fewer), drawn at random; the present answers
// of each as the choices; the total of the chosen answers' scores and the
// mark of the grading scale it reaches.
#include "model/DocumentOrder.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace mirvane {

class Question;
class Test;

class PlayerSession {
public:
    struct Asked {
        const Question* Item = nullptr;
        std::string Division;    // the division's name
        std::vector<int> Slots;  // the present answers, in slot order
        int Chosen = -1;         // the chosen slot; -1 before an answer
    };

    // The test must outlive the session. `seed` makes the draw repeatable.
    PlayerSession(const Test& test, const DocumentOrder& order, std::uint32_t seed);

    const std::vector<Asked>& Questions() const { return asked_; }
    void Choose(std::size_t question, int slot);

    // The sum of the chosen answers' scores; an unanswered question adds 0.
    // Wide enough for any number of questions at the highest score.
    std::int64_t Score() const;
    // The mark reached: among the marks in use (slots 1 to 9), the one with
    // the highest score not above the total; mark 0 when none is reached.
    int MarkSlot() const;
    const std::string& MarkDescription() const;
    // Whether the chosen answer is the question's best one.
    bool ChoseBest(std::size_t question) const;
    // The questions not answered with their best answer, in the order asked.
    std::vector<std::size_t> Mistakes() const;

private:
    const Test& test_;
    std::vector<Asked> asked_;
};

} // namespace mirvane
