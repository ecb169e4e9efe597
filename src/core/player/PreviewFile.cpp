#include "player/PreviewFile.h"

#include "model/CodePage.h"
#include "model/Misc.h"
#include "model/Question.h"
#include "model/TextLines.h"

namespace mirvane {

std::string BuildPreviewFile(const Question& question)
{
    std::string out;
    AppendFileLine(out,
                   "Предварительный просмотр\r\n"
                   ")t 1\r\n"
                   ")<\r\n"
                   " Тест не сдан\r\n"
                   ")> 0\r\n"
                   "Тест сдан\r\n"
                   ")* 1",
                   CodePage::Dos());
    question.Save(out);
    AppendFileLine(out, "):");
    return out;
}

} // namespace mirvane
