#include "export/HtmlExport.h"

#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Number.h"
#include "model/Test.h"
#include "model/TextLines.h"
#include "model/Utf8.h"

namespace mirvane {

namespace {

constexpr std::string_view kCountdown =
    "function NextSecond(){if(Time!=0){setTimeout('NextSecond()',1000); Time --; text = 'Время: '; "
    "if(Time<36000){ text+='0';} text+=Math.floor(Time/3600)+':'; if(Time%3600<600){ text+='0';} "
    "text+=Math.floor((Time%3600)/60)+':'; if(Time%60<10){ text+='0';} text+=Time%60; "
    "TimeStamp.innerText = text; } else { alert('Ваше время истекло'); SendResault();}}";

} // namespace

std::string HtmlJournalName(std::string_view chosenPath)
{
    const std::size_t slash = chosenPath.find_last_of("/\\");
    const std::string_view base = slash == std::string_view::npos ? chosenPath : chosenPath.substr(slash + 1);
    const std::size_t length = Utf8Length(base);
    if (length <= 2)
        return {};
    return std::string(Utf8Prefix(base, length - 2)) + ".htm";
}

std::string WriteHtmlPage(const Test& test, const DocumentOrder& order, std::string_view chosenPath)
{
    return CollectChunks([&](const ChunkSink& sink) { WriteHtmlPage(test, order, chosenPath, sink); });
}

void WriteHtmlPage(const Test& test, const DocumentOrder& order, std::string_view chosenPath, const ChunkSink& sink)
{
    const CodePage& windows = CodePage::Windows();
    ChunkedOutput output(sink);
    std::string& out = output.Buffer();
    auto line = [&](std::string_view text) { AppendFileLine(out, text, windows); };

    line("<HTML>");
    line("<HEAD>");
    line("<TITLE>" + test.TestName + "</title>");
    line("<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">");
    line("<MARK  score=\"-32000\">" + test.MarkDiscriptionsGet(0) + "</mark>");
    for (int i = 1; i <= 9; ++i) {
        if (test.IsMarkInUse(i))
            line("<MARK  score=\"" + FormatNumber(test.MarkScoresGet(i)) + "\">" + test.MarkDiscriptionsGet(i) +
                 "</mark>");
    }
    line("</head>");
    line("<BODY bgcolor=\"#F3FFF2\" onLoad=\"NextSecond()\">");
    const std::string journal = HtmlJournalName(chosenPath);
    if (!journal.empty())
        line("<LOG file=\"" + journal + "\">");
    line("<h2>ТЕСТ: <INSERT item=\"testname\"></h2><p>");
    line("<h3>ЭКЗАМЕНУЕМЫЙ: <INSERT item=\"username\"></h3>");
    line("<hr><p ID=\"TimeStamp\">Время:</p><hr>");
    line("<script language=\"JavaScript\"> Time =" + FormatNumber(test.TestTime * 60) + ";");
    line(kCountdown);
    line("</script>");
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        line("<h3>" + division.Name + "</h3>");
        line("<DIVISION inquire=\"" + FormatNumber(division.NQ) + "\" > ");
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            PrefetchAhead(division, j);
            QuestionInOrder(division, entry.QuestionKeys, j).SaveV2(out);
            output.Pass();
        }
        line("</DIVISION>");
    }
    line("<p>Нажмите кнопку для завершения экзамена");
    line("<INSERT item=\"submitbutton\">");
    line("<hr>Тест получен преобразованием файла данных программы Vexo V1.0");
    line("</body>");
    line("</html>");
    output.Flush();
}

} // namespace mirvane
