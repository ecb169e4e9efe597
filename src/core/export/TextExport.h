#pragma once
// The plain-text form of a test, for printing or reading outside the player:
// title, time, and per division its heading and its questions, with answers
// as the content choice says.
#include "model/ChunkedOutput.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mirvane {

class CodePage;
class Question;
class Test;
struct DocumentOrder;

enum class TextContent : std::int16_t {
    QuestionsOnly = 0,          // "Только вопросы"
    RightAnswers = 1,           // "Вопросы и правильные ответы"
    AllAnswers = 2,             // "Вопросы и все варианты ответов"
    AllAnswersMarked = 3,       // "Вопросы и все варианты ответов с пометкой правильных"
};

// Throws std::out_of_range when the order names a key the test does not hold.
std::string WriteTextExport(const Test& test, const DocumentOrder& order, TextContent content, const CodePage& page);

// The same bytes handed to `sink` in chunks.
void WriteTextExport(const Test& test, const DocumentOrder& order, TextContent content, const CodePage& page,
                     const ChunkSink& sink);

// One question's entry for the content choice, appended to `out`.
void Out(std::string& out, const Question& question, TextContent content, const CodePage& page);

} // namespace mirvane
