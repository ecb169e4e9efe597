#include "model/CodePage.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Utf8.h"

#include <gtest/gtest.h>

#include <sstream>

namespace mirvane {
namespace {

TEST(TrimBlanks, RemovesControlCharactersFromBothEndsOnly)
{
    EXPECT_EQ(TrimBlanks(" \t\r\nслово\r\n \t"), "слово");
    EXPECT_EQ(TrimBlanks("     "), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks("два слова"), "два слова");
    EXPECT_EQ(TrimBlanks(std::string("\x01") + "я\x1f"), "я");
    EXPECT_EQ(TrimSpaces("\t x \t"), "\t x \t");
    EXPECT_EQ(TrimSpaces("  x y  "), "x y");
}

TEST(CodePages, DosRoundTripKeepsEveryCharacterOfThePage)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string text = OemToAnsi(all);
    EXPECT_EQ(AnsiToOem(text), all);
    EXPECT_EQ(Utf8Length(text), 256u);
}

TEST(CodePages, KnownLetters)
{
    EXPECT_EQ(OemToAnsi("\x80"), "А");
    EXPECT_EQ(OemToAnsi("\xA0"), "а");
    EXPECT_EQ(OemToAnsi("\x9F"), "Я");
    EXPECT_EQ(OemToAnsi("\xEF"), "я");
    EXPECT_EQ(OemToAnsi("\xF0\xF1"), "Ёё");
    EXPECT_EQ(OemToAnsi("\xC4\xFC"), "─№");
    EXPECT_EQ(CodePage::Windows().Encode("Аяё№«»"), "\xC0\xFF\xB8\xB9\xAB\xBB");
}

TEST(CodePages, MissingCharactersAndBrokenUtf8BecomeQuestionMarks)
{
    EXPECT_EQ(AnsiToOem("a€b"), "a?b");     // the euro sign is not in 866
    EXPECT_EQ(CodePage::Windows().Encode("─"), "?"); // box drawing is not in 1251
    EXPECT_EQ(AnsiToOem("x\xD0"), "x?");
    EXPECT_EQ(AnsiToOem("\xFF\xFEz"), "??z");
    EXPECT_EQ(AnsiToOem("😀"), "?");
}

TEST(CodePages, RussianTextRoundTrips)
{
    const std::string s = "Съешь же ещё этих мягких французских булок, да выпей чаю! 0123456789 .,;:?!-()";
    EXPECT_EQ(OemToAnsi(AnsiToOem(s)), s);
}

TEST(ReadNumber, AcceptsDecimalsAndRoundsHalfToEven)
{
    EXPECT_EQ(ReadNumber("45"), 45);
    EXPECT_EQ(ReadNumber(" 45 "), 45);
    EXPECT_EQ(ReadNumber("\t-7\t"), -7);
    EXPECT_EQ(ReadNumber("+3"), 3);
    EXPECT_EQ(ReadNumber("2.5"), 2);
    EXPECT_EQ(ReadNumber("3.5"), 4);
    EXPECT_EQ(ReadNumber("2,5"), 2);
    EXPECT_EQ(ReadNumber("2.51"), 3);
    EXPECT_EQ(ReadNumber("2.4999"), 2);
    EXPECT_EQ(ReadNumber("-2.5"), -2);
    EXPECT_EQ(ReadNumber("-3.5"), -4);
    EXPECT_EQ(ReadNumber("0.5"), 0);
    EXPECT_EQ(ReadNumber("007"), 7);
    EXPECT_EQ(ReadNumber("32767"), 32767);
    EXPECT_EQ(ReadNumber("-32768"), -32768);
    EXPECT_EQ(ReadNumber("-32768.5"), -32768);
}

TEST(ReadNumber, RejectsEverythingElse)
{
    for (const char* text : {"", " ", "abc", "- 5", "5-", "1e3", "1.", ".5", "1.2.3", "1,", "++1",
                             "32768", "-32769", "32767.5", "99999999999999999999", "1 2", "0x10"}) {
        EXPECT_FALSE(ReadNumber(text).has_value()) << text;
    }
    EXPECT_FALSE(ReadNumber(std::string(1000000, '9')).has_value());
}

TEST(QuestionCaption, FirstFiftyCharactersOnOneLine)
{
    EXPECT_EQ(QuestionCaption("Сколько будет\r\n2+2?"), "Сколько будет 2+2?");
    EXPECT_EQ(QuestionCaption("a\r\n\r\nb"), "a  b");
    EXPECT_EQ(QuestionCaption("   начало"), "начало");
    EXPECT_EQ(QuestionCaption(std::string(60, 'x')), std::string(50, 'x'));
    std::string cyr;
    for (int i = 0; i < 60; ++i)
        cyr += "ж";
    EXPECT_EQ(Utf8Length(QuestionCaption(cyr)), 50u);
    EXPECT_EQ(QuestionCaption(std::string(50, ' ') + "late"), "");
}

std::string Words(int count, int length)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        for (int j = 0; j < length; ++j)
            out += "ю";
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        std::size_t p = text.find("\r\n", start);
        out.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos)
            return out;
        start = p + 2;
    }
}

TEST(Utf8, OverlongLeadBytesAreNotCharacters)
{
    // C0 and C1 could only start an overlong form of an ASCII character.
    EXPECT_EQ(CodePage::Dos().Encode("\xC0\x80" "a" "\xC1\xBF"), "??a??");
    EXPECT_EQ(Utf8Length("\xC0\x80"), 2u);
    std::size_t pos = 0;
    EXPECT_EQ(Utf8Next("\xC1\x81", pos), U'\uFFFD');
    EXPECT_EQ(pos, 1u);
}

TEST(WrapEditText, ShortLinesAreLeftAlone)
{
    const std::string text = "первая строка\r\n" + std::string(70, 'x') + "\r\n\r\nпоследняя";
    const WrapResult r = WrapEditText(text, 5);
    EXPECT_FALSE(r.Changed);
    EXPECT_EQ(r.Text, text);
    EXPECT_EQ(r.Caret, 5u);
    EXPECT_FALSE(WrapEditText("", 0).Changed);
}

TEST(WrapEditText, ProtectsALeadingParenthesis)
{
    const WrapResult r = WrapEditText(")t 30", 5);
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Text, " )t 30");
    EXPECT_EQ(r.Caret, 6u);
    EXPECT_FALSE(WrapEditText(r.Text, r.Caret).Changed);

    const WrapResult second = WrapEditText("ok\r\n)! 5", 0);
    EXPECT_EQ(second.Text, "ok\r\n )! 5");
}

TEST(WrapEditText, BreaksALongLineAtSpaces)
{
    const std::string line = Words(15, 9); // 149 characters
    ASSERT_EQ(Utf8Length(line), 149u);
    const WrapResult r = WrapEditText(line, 149);
    EXPECT_TRUE(r.Changed);
    const auto lines = Lines(r.Text);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& l : lines) {
        EXPECT_LE(Utf8Length(l), 70u);
        EXPECT_NE(l.front(), ' ');
    }
    // No word was joined or cut: the words come back in order.
    std::string rejoined = lines[0] + " " + lines[1] + " " + lines[2];
    EXPECT_EQ(rejoined, line);
    EXPECT_EQ(r.Caret, 151u);
    EXPECT_FALSE(WrapEditText(r.Text, r.Caret).Changed);
}

TEST(WrapEditText, SeventyOneCharactersBreak)
{
    const std::string line = std::string(35, 'a') + " " + std::string(35, 'b');
    const WrapResult r = WrapEditText(line, 0);
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Text, std::string(35, 'a') + "\r\n" + std::string(35, 'b'));
}

TEST(WrapEditText, ASpaceAfterAFullLineOpensTheNextLine)
{
    // Words that join to exactly 70 characters stay on one line.
    const std::string full = std::string(34, 'a') + " " + std::string(35, 'b');
    EXPECT_FALSE(WrapEditText(full, 70).Changed);
    const WrapResult r = WrapEditText(full + " ", 71);
    EXPECT_EQ(r.Text, full + "\r\n");
    EXPECT_EQ(r.Caret, 72u); // the start of the new line
    EXPECT_FALSE(WrapEditText(r.Text, r.Caret).Changed);
    const WrapResult c = WrapEditText(full + " c", 72);
    EXPECT_EQ(c.Text, full + "\r\nc");
    EXPECT_EQ(c.Caret, 73u);

    const WrapResult letters = WrapEditText(std::string(70, 'l') + " ", 71);
    EXPECT_EQ(letters.Text, std::string(70, 'l') + "\r\n");
    EXPECT_EQ(letters.Caret, 72u);
    // A word that fills whole lines leaves no empty line behind it.
    EXPECT_EQ(WrapEditText(std::string(140, 'w'), 0).Text, std::string(70, 'w') + "\r\n" + std::string(70, 'w'));
}

TEST(WrapEditText, LongWordIsCutHardAtSeventy)
{
    std::string word;
    for (int i = 0; i < 150; ++i)
        word += "щ";
    const WrapResult r = WrapEditText("до " + word + " после", 0);
    const auto lines = Lines(r.Text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "до");
    EXPECT_EQ(Utf8Length(lines[1]), 70u);
    EXPECT_EQ(Utf8Length(lines[2]), 70u);
    EXPECT_EQ(Utf8Length(lines[3]), 16u); // 10 left of the word, a space, "после"
    EXPECT_FALSE(WrapEditText(r.Text, r.Caret).Changed);

    const WrapResult exact = WrapEditText(std::string(70, 'z') + " " + std::string(5, 'y'), 0);
    EXPECT_EQ(exact.Text, std::string(70, 'z') + "\r\n" + std::string(5, 'y'));
}

TEST(WrapEditText, PiecesThatBeginWithAParenthesisStayWithinSeventy)
{
    const std::string line = "aaa " + std::string(1, ')') + std::string(68, 'p') + " x";
    const WrapResult r = WrapEditText(line, 0);
    for (const auto& l : Lines(r.Text)) {
        EXPECT_LE(Utf8Length(l), 70u);
        EXPECT_NE(l.front(), ')');
    }
    EXPECT_FALSE(WrapEditText(r.Text, 0).Changed);
    const WrapResult seventy = WrapEditText(")" + std::string(69, 'q'), 0);
    for (const auto& l : Lines(seventy.Text))
        EXPECT_LE(Utf8Length(l), 70u);
    EXPECT_FALSE(WrapEditText(seventy.Text, 0).Changed);
}

TEST(WrapEditText, SecondPassNeverChangesAnything)
{
    // A deterministic spread of awkward texts: long words, double spaces,
    // parentheses at every place, empty lines.
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    const char* parts[] = {" ", "  ", ")", "\r\n", "слово", "x", ") ", "abcdefghij", "ёжик"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = static_cast<int>(next() % 60);
        for (int i = 0; i < n; ++i) {
            const int k = static_cast<int>(next() % 9);
            const int repeat = k == 7 ? static_cast<int>(next() % 12) + 1 : 1;
            for (int j = 0; j < repeat; ++j)
                text += parts[k];
        }
        const WrapResult first = WrapEditText(text, next() % (text.size() + 1));
        const WrapResult second = WrapEditText(first.Text, first.Caret);
        ASSERT_FALSE(second.Changed) << "text: [" << text << "] first: [" << first.Text << "]";
        for (const auto& l : Lines(first.Text)) {
            ASSERT_LE(Utf8Length(l), 70u);
            ASSERT_TRUE(l.empty() || l.front() != ')');
        }
    }
}

} // namespace
} // namespace mirvane

#include "model/StorableText.h"
#include "model/Test.h"

namespace mirvane {
namespace {

TEST(StorableText, TypographicCharactersBecomePlainOnes)
{
    EXPECT_EQ(ToStorableText("«Война и мир» — „роман“ ‘Толстого’… 5−3 –"),
              "\"Война и мир\" - \"роман\" 'Толстого'... 5-3 -");
    EXPECT_EQ(ToStorableText("a\u202Fb\u00ADc\u200Bd"), "a\u00A0bcd"); // 866 has the no-break space
    EXPECT_EQ(ToStorableText("обычный текст"), "обычный текст");
    // Whatever the table turns a character into, the file can store.
    EXPECT_TRUE(UnstorableCharacters(ToStorableText("«»„“”‘’‚–—−…•×\u202F\u2007")).empty());
}

TEST(StorableText, WhatTheFileCannotStoreIsNamedOnce)
{
    EXPECT_EQ(UnstorableCharacters("цена 5€, снова €, ✓ и ёЁ№"), U"€✓");
    EXPECT_TRUE(UnstorableCharacters("Вопрос\r\n\"ответ\" №√°").empty());
    mirvane::Test test;
    test.TestName = "Тест €";
    test.MarkDiscriptionsSet(1, "✓");
    EXPECT_EQ(UnstorableCharacters(test), U"€✓");
}

} // namespace
} // namespace mirvane

#include "model/EncodingGuess.h"

#include <random>

namespace mirvane {
namespace {

TEST(EncodingGuess, TellsUtf8AndWindowsFilesFromCodePage866)
{
    const std::string text = "Экзамен по химии\r\n)t 30\r\n)?\r\nСколько атомов в молекуле воды?\r\n)! 1\r\nтри\r\n";
    EXPECT_EQ(GuessEncoding(text), TextEncoding::Utf8);
    EXPECT_EQ(GuessEncoding(CodePage::Windows().Encode(text)), TextEncoding::Cp1251);
    EXPECT_EQ(GuessEncoding(AnsiToOem(text)), TextEncoding::Cp866);
    EXPECT_EQ(GuessEncoding("Test\r\n)t 30\r\n)?\r\nplain ASCII\r\n"), TextEncoding::Cp866);
    EXPECT_EQ(GuessEncoding("Caf\xC3\xA9\r\n)t 30\r\n"), TextEncoding::Utf8); // UTF-8 without Cyrillic
    EXPECT_EQ(ToCp866(CodePage::Windows().Encode(text), TextEncoding::Cp1251), AnsiToOem(text));
    EXPECT_EQ(ToCp866("«Да» — €", TextEncoding::Utf8), AnsiToOem("\"Да\" - ?"));
    // Dropping a soft hyphen must not join a lone CR and an LF into one line ending.
    EXPECT_EQ(ToCp866("1\r\u00AD\u00AD\n2", TextEncoding::Utf8), "1\r?\n2");
    EXPECT_EQ(ToCp866("1\r\xAD\n2", TextEncoding::Cp1251), "1\r?\n2");
}

// A lower-case р-я and two а-п in code page 866 happen to be valid UTF-8 (of
// scripts no test uses): a short file whose only Russian is such words stays
// 866, while UTF-8 with a character beyond those scripts is still UTF-8.
TEST(EncodingGuess, TakesNo866WordsForUtf8)
{
    EXPECT_EQ(GuessEncoding(AnsiToOem("Test\r\n)t 30\r\n)?\r\n2+2 сам\r\n)! 1\r\nok\r\n")), TextEncoding::Cp866);
    EXPECT_EQ(GuessEncoding(AnsiToOem(")ыйг\r\n)<\r\n)\r\n")), TextEncoding::Cp866);
    EXPECT_EQ(GuessEncoding("Тест ✓ 😀\r\n)t 30\r\n"), TextEncoding::Utf8);
}

// No false alarm on real code page 866 tests: 10,000 generated ones, long
// and Cyrillic-heavy or of a few lines, with upper- and lower-case letters,
// digits and punctuation.
TEST(EncodingGuess, NeverFiresOnCodePage866Tests)
{
    const char* words[] = {"вопрос", "ответ", "Уравнение", "треугольник", "скорость", "Энергия", "молекула",
                           "ЁЖИК", "ёлка", "площадь", "Пушкин", "ЮЮ", "щщ", "ъ", "ь", "Э", "№", "42", "(x)", "—",
                           "«да»", "Fe2O3", "верно", "ЯБЛОКО", "ИЗ", "экзамен"};
    std::mt19937 random(866);
    int alarms = 0;
    for (int file = 0; file < 10000; ++file) {
        std::string text = "Тест\r\n)t 30\r\n)<\r\nНеуд\r\n";
        const int lines = file % 4 == 0 ? 1 + static_cast<int>(random() % 3) : 5 + static_cast<int>(random() % 60);
        for (int l = 0; l < lines; ++l) {
            text += l % 5 == 0 ? ")?\r\n" : ")! 1\r\n";
            const int count = 1 + static_cast<int>(random() % 9);
            for (int w = 0; w < count; ++w)
                text += std::string(w ? " " : "") + words[random() % (sizeof words / sizeof *words)];
            text += "\r\n";
        }
        if (GuessEncoding(AnsiToOem(text)) != TextEncoding::Cp866)
            ++alarms;
    }
    EXPECT_EQ(alarms, 0);
}

} // namespace
} // namespace mirvane
