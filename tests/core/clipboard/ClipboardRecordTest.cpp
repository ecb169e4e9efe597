#include "TestBuilder.h"

#include "clipboard/ClipboardRecord.h"
#include "document/TestDocument.h"
#include "testfile/LineSource.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

TEST(ClipboardRecord, QuestionRecordCarriesAllNineSlots)
{
    Question q;
    q.QSet("Две\r\nстроки");
    q.ASet(0, "a");
    q.AScoreSet(0, 1);
    q.ASet(1, "b\r\nb2");
    q.AScoreSet(1, -2);
    q.ASet(2, "c");
    q.AScoreSet(5, 7); // a score beside an empty slot travels too
    q.ASet(9, "slot nine is not carried");
    std::string expected = "=ВОПРОС=\r\n)?\r\nДве\r\nстроки\r\n)! 1\r\na\r\n)! -2\r\nb\r\nb2\r\n)! 0\r\nc\r\n"
                           ")! 0\r\n\r\n)! 0\r\n\r\n)! 7\r\n\r\n)! 0\r\n\r\n)! 0\r\n\r\n)! 0\r\n\r\n";
    EXPECT_EQ(BuildQuestionRecord(q), expected);

    const ClipboardRecord r = ParseClipboardRecord(expected);
    ASSERT_EQ(r.RecordKind, ClipboardRecord::Kind::Question);
    ASSERT_EQ(r.Questions.size(), 1u);
    const RecordQuestion& back = r.Questions[0];
    EXPECT_EQ(back.Q, q.Q());
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(back.Answers[i], q.AGet(i)) << i;
        EXPECT_EQ(back.Scores[i], q.AScoreGet(i)) << i;
    }
    EXPECT_EQ(back.Answers[9], "");
}

TEST(ClipboardRecord, LeadingEmptyLineOfATextIsLost)
{
    Question q;
    q.QSet("\r\nпосле пустой");
    q.ASet(0, "\r\n\r\nответ");
    const RecordQuestion back = ParseClipboardRecord(BuildQuestionRecord(q)).Questions.at(0);
    EXPECT_EQ(back.Q, "после пустой");
    EXPECT_EQ(back.Answers[0], "ответ");
}

TEST(ClipboardRecord, DivisionRecordInDocumentOrder)
{
    ResetKeyNumbers();
    auto test = std::make_unique<mirvane::Test>();
    Division& d = AddDivisionTo(*test, "  Геометрия", 2);
    AddQuestionTo(d, "второй", {{"x", 3}});
    AddQuestionTo(d, "первый", {{"да", 1}, {"нет", 0}});
    TestDocument document(std::move(test));
    document.MoveUp("q3"); // the teacher reordered the division
    const std::string record = BuildDivisionRecord(d, document.QuestionKeys("d1"));
    EXPECT_EQ(record.substr(0, record.find(")?")), "=РАЗДЕЛ=\r\n)* 2\r\n):   Геометрия\r\n");

    const ClipboardRecord r = ParseClipboardRecord(record);
    ASSERT_EQ(r.RecordKind, ClipboardRecord::Kind::Division);
    EXPECT_EQ(r.NQ, 2);
    EXPECT_EQ(r.Name, "Геометрия");
    ASSERT_EQ(r.Questions.size(), 2u);
    EXPECT_EQ(r.Questions[0].Q, "первый");
    EXPECT_EQ(r.Questions[0].Answers[1], "нет");
    EXPECT_EQ(r.Questions[1].Q, "второй");
    EXPECT_EQ(r.Questions[1].Scores[0], 3);

    Division empty;
    const ClipboardRecord e = ParseClipboardRecord(BuildDivisionRecord(empty, {}));
    EXPECT_EQ(e.Name, "Раздел");
    EXPECT_TRUE(e.Questions.empty());
}

TEST(ClipboardRecord, PastedQuestionsPassThroughThePanelAsTypedOnes)
{
    RecordQuestion part;
    part.Q = std::string(40, 'a') + " " + std::string(40, 'b');
    part.Answers[0] = "да";
    part.Scores[0] = 2;
    part.Answers[1] = " \r\n ";
    part.Scores[1] = 5;
    part.Scores[4] = -3; // a score beside an empty slot
    part.Answers[9] = "десятый";
    part.Answers[2] = "один\rдва\nтри\u2028четыре"; // breaks other programs leave
    part.Scores[2] = 1;
    Question q;
    FillQuestion(q, part);
    EXPECT_EQ(q.AScoreGet(4), -3);
    EXPECT_EQ(q.AGet(9), "десятый");
    PassThroughPanel(q);
    EXPECT_EQ(q.Q(), std::string(40, 'a') + "\r\n" + std::string(40, 'b'));
    EXPECT_EQ(q.AGet(0), "да");
    EXPECT_EQ(q.AScoreGet(0), 2);
    EXPECT_EQ(q.AGet(1), ""); // blank: emptied, though the panel showed its score
    EXPECT_EQ(q.AScoreGet(1), 5);
    EXPECT_EQ(q.AScoreGet(4), 0);
    EXPECT_EQ(q.AGet(9), "десятый");
    EXPECT_EQ(q.AGet(2), "один\r\nдва\r\nтри\r\nчетыре");
}

// The tenth answer comes only from a record; saved, it must not open a question.
TEST(ClipboardRecord, TheTenthAnswerCannotReadAsACommand)
{
    std::string record = "=ВОПРОС=\r\n)?\r\nq\r\n";
    for (int i = 0; i < 9; ++i)
        record += ")! 0\r\n" + std::to_string(i) + "\r\n";
    record += ")! 0\r\nдесятый\r)? не вопрос\r\n"; // a lone CR, as some programs end a line
    Question q;
    FillQuestion(q, ParseClipboardRecord(record).Questions.at(0));
    std::string saved;
    q.Save(saved);
    LineSource lines(saved);
    std::string_view line;
    int questions = 0;
    while (lines.Next(line))
        questions += line.substr(0, 2) == ")?" ? 1 : 0;
    EXPECT_EQ(questions, 1) << saved;
    EXPECT_EQ(q.AGet(9), "десятый\r\n )? не вопрос");
}

TEST(ClipboardRecord, NotARecord)
{
    EXPECT_EQ(ParseClipboardRecord("").RecordKind, ClipboardRecord::Kind::None);
    EXPECT_EQ(ParseClipboardRecord("просто текст").RecordKind, ClipboardRecord::Kind::None);
    EXPECT_EQ(ParseClipboardRecord("=ВОПРОС").RecordKind, ClipboardRecord::Kind::None);
    EXPECT_TRUE(IsClipboardRecord("=РАЗДЕЛ=\r\n"));
    EXPECT_TRUE(IsClipboardRecord("=ВОПРОС=anything"));
    EXPECT_FALSE(IsClipboardRecord(" =ВОПРОС="));
}

TEST(ClipboardRecord, MalformedRecordsNeverFail)
{
    // Short tag lines, bad numbers, too many answers.
    std::string q = "=ВОПРОС=\r\n)?\r\nтекст\r\n)!\r\nпервый\r\n)! x\r\nвторой\r\n";
    for (int i = 0; i < 12; ++i)
        q += ")! 1\r\nлишний " + std::to_string(i) + "\r\n";
    const ClipboardRecord r = ParseClipboardRecord(q);
    ASSERT_EQ(r.Questions.size(), 1u);
    EXPECT_EQ(r.Questions[0].Q, "текст");
    EXPECT_EQ(r.Questions[0].Answers[0], "первый");
    EXPECT_EQ(r.Questions[0].Scores[0], 0);
    EXPECT_EQ(r.Questions[0].Scores[1], 0);
    EXPECT_EQ(r.Questions[0].Answers[9], "лишний 7");
    EXPECT_EQ(r.Questions[0].Scores[9], 1);

    const ClipboardRecord d = ParseClipboardRecord("=РАЗДЕЛ=\r\nдо вопроса\r\n)! 5\r\n)* много\r\n):\r\n)?\r\nq\r\n");
    EXPECT_EQ(d.NQ, 1);
    EXPECT_EQ(d.Name, "");
    ASSERT_EQ(d.Questions.size(), 1u);
    EXPECT_EQ(d.Questions[0].Q, "q");
    EXPECT_EQ(d.Questions[0].Scores[0], 0);

    const ClipboardRecord big = ParseClipboardRecord("=РАЗДЕЛ=\r\n)* 99999\r\n");
    EXPECT_EQ(big.NQ, 1);

    // A value is what follows three characters, not three bytes: a name
    // written without the blank keeps whole letters.
    const ClipboardRecord tight = ParseClipboardRecord("=РАЗДЕЛ=\r\n):Имя раздела\r\n");
    EXPECT_EQ(tight.Name, "мя раздела");
}

TEST(ClipboardRecord, LineFeedsAloneAreAcceptedToo)
{
    const ClipboardRecord r = ParseClipboardRecord("=ВОПРОС=\n)?\nодин\nдва\n)! 4\nответ\n");
    ASSERT_EQ(r.Questions.size(), 1u);
    EXPECT_EQ(r.Questions[0].Q, "один\r\nдва");
    EXPECT_EQ(r.Questions[0].Scores[0], 4);
    EXPECT_EQ(r.Questions[0].Answers[0], "ответ");
}

// A division's name is one line of the file it will be saved in.
TEST(ClipboardRecord, NameEndsAtALoneCarriageReturn)
{
    EXPECT_EQ(ParseClipboardRecord("=РАЗДЕЛ=\r\n)* 1\r\n): Имя\rхвост\r\n").Name, "Имя");
}

// A list's records come back one by one, whatever lines their texts hold:
// a marker or a count line inside a record starts nothing.
TEST(ClipboardRecord, AListCarriesSeveralRecordsInOrder)
{
    Question tricky;
    tricky.QSet("=ВОПРОС=\r\n)= 2\r\n=СПИСОК=");
    tricky.ASet(0, "да");
    tricky.AScoreSet(0, 4);
    Question inside;
    inside.QSet("в разделе");
    const std::string records[] = {BuildQuestionRecord(tricky), BuildQuestionRecord(inside)};
    const std::string divisionRecord = "=РАЗДЕЛ=\r\n)* 3\r\n): Раздел списка\r\n" + records[1].substr(records[1].find(")?"));
    const std::string list = BuildListRecord({records[0], divisionRecord, records[1]});
    EXPECT_TRUE(IsClipboardRecord(list));

    const std::vector<ClipboardRecord> back = ParseClipboardRecords(list);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].RecordKind, ClipboardRecord::Kind::Question);
    EXPECT_EQ(back[0].Questions.at(0).Q, tricky.Q());
    EXPECT_EQ(back[0].Questions[0].Answers[0], "да");
    EXPECT_EQ(back[0].Questions[0].Scores[0], 4);
    EXPECT_EQ(back[1].RecordKind, ClipboardRecord::Kind::Division);
    EXPECT_EQ(back[1].Name, "Раздел списка");
    EXPECT_EQ(back[1].NQ, 3);
    ASSERT_EQ(back[1].Questions.size(), 1u);
    EXPECT_EQ(back[1].Questions[0].Q, "в разделе");
    EXPECT_EQ(back[2].Questions.at(0).Q, "в разделе");

    // A single record is a list of one; a list cut short keeps what it holds.
    ASSERT_EQ(ParseClipboardRecords(records[1]).size(), 1u);
    EXPECT_TRUE(ParseClipboardRecords("просто текст").empty());
    const std::string cut = list.substr(0, list.find(")= ", list.find("Раздел списка")));
    ASSERT_EQ(ParseClipboardRecords(cut).size(), 2u);
    EXPECT_EQ(ParseClipboardRecords(cut)[1].Name, "Раздел списка");
    EXPECT_TRUE(ParseClipboardRecords("=СПИСОК=\r\n)= x\r\n" + records[1]).empty());
}

} // namespace
} // namespace mirvane::testing
