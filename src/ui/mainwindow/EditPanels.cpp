#include "mainwindow/EditPanels.h"

#include "mainwindow/SpinButtons.h"
#include "mainwindow/Twips.h"
#include "mainwindow/PanelBoxes.h"
#include "model/NodeKey.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <string>
#include <vector>

namespace mirvane {

namespace {

constexpr int kKeep = -1;

// Moves a control; tops and lefts are twips relative to its parent, and a
// dimension given as kKeep stays as it is.
void Place(QWidget* w, int left, int top, int width = kKeep, int height = kKeep)
{
    const int pw = width == kKeep ? w->width() : std::max(0, TwipsToPixels(width));
    const int ph = height == kKeep ? w->height() : std::max(0, TwipsToPixels(height));
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), pw, ph);
}

// Sets the control's own size, which the layout leaves alone.
void OwnSize(QWidget* w, int width, int height)
{
    w->resize(width == kKeep ? w->width() : TwipsToPixels(width), height == kKeep ? w->height() : TwipsToPixels(height));
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, const char* name)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* MakeLine(QWidget* parent, int maxLength, const QString& name)
{
    auto* edit = new LimitedLineEdit(parent, maxLength);
    edit->setObjectName(name);
    return edit;
}

QPlainTextEdit* MakeMultiLine(QWidget* parent, const QString& name)
{
    auto* edit = new PanelTextEdit(parent);
    edit->setObjectName(name);
    // A vertical scroll bar only: lines wrap at the box's width on screen
    // (the text itself keeps its own line breaks).
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setTabChangesFocus(true);
    return edit;
}

QFrame* MakeRule(QWidget* parent, const char* name)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setStyleSheet(QStringLiteral("background-color: #808080;"));
    return line;
}

QString Indexed(const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); }

} // namespace

EditPanels::EditPanels(QWidget* pane)
    : QObject(pane), pane_(pane), vScroll_(new QScrollBar(Qt::Vertical, pane))
{
    vScroll_->setObjectName(QStringLiteral("VScroll"));
    CreateParameters();
    CreateMarks();
    CreateDivision();
    CreateQuestion();
    SetTabOrder();
    vScroll_->raise();
}

void EditPanels::CreateParameters()
{
    QWidget* p = pane_;
    LTestName = MakeLabel(p, QStringLiteral("Наименование теста:"), "LTestName");
    OwnSize(LTestName, kKeep, 255);
    TestName = MakeLine(p, 70, QStringLiteral("TestName"));
    OwnSize(TestName, kKeep, 285);
    TestTime = MakeLine(p, 3, QStringLiteral("TestTime"));
    UpDownTestTime = new SpinButtons(p);
    UpDownTestTime->setObjectName(QStringLiteral("UpDownTestTime"));
    LTestTime = MakeLabel(p, QStringLiteral("Время тестирования (минут)"), "LTestTime");
    CheckMissWork = new QCheckBox(QStringLiteral("Предложить работу над ошибками"), p);
    CheckMissWork->setObjectName(QStringLiteral("CheckMissWork"));
    OwnSize(CheckMissWork, kKeep, 255);

    Frame = new QGroupBox(QStringLiteral("Журнал:"), p);
    Frame->setObjectName(QStringLiteral("Frame"));
    OwnSize(Frame, kKeep, 1695);
    logTypeGroup_ = new QButtonGroup(this);
    const char* captions[3] = {"Не вести", "Вести краткий", "Вести полный"};
    for (int i = 0; i < 3; ++i) {
        OptionLogType[i] = new QRadioButton(QString::fromUtf8(captions[i]), Frame);
        OptionLogType[i]->setObjectName(Indexed("OptionLogType", i));
        logTypeGroup_->addButton(OptionLogType[i], i);
        Place(OptionLogType[i], 120, 240 + 240 * i, kKeep, 255);
    }
    LabelFileName = MakeLabel(Frame, QStringLiteral("Файл журнала:"), "LabelFileName");
    Place(LabelFileName, 120, 1080, kKeep, 255);
    TextLogFile = MakeLine(Frame, 12, QStringLiteral("TextLogFile"));
    Place(TextLogFile, 120, 1320, kKeep, 285);
}

void EditPanels::CreateMarks()
{
    QWidget* p = pane_;
    LabelBalls = MakeLabel(p, QStringLiteral("Баллы"), "LabelBalls");
    LabelMarks = MakeLabel(p, QStringLiteral("Оценки"), "LabelMarks");
    VLine = MakeRule(p, "VLine");
    HLine = MakeRule(p, "HLine");
    LabelMinScore = MakeLabel(p, QStringLiteral("< 0"), "LabelMinScore");
    QFont bold = LabelMinScore->font();
    bold.setFamilies({QStringLiteral("MS Sans Serif"), bold.family()});
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    LabelMinScore->setFont(bold);
    OwnSize(LabelMinScore, kKeep, 285);
    for (int i = 0; i < kMarkRows; ++i) {
        MarkText[i] = MakeLine(p, 70, Indexed("MarkText", i));
        OwnSize(MarkText[i], kKeep, 285);
    }
    for (int i = 0; i < kThresholdRows; ++i) {
        MarkScoreText[i] = MakeLine(p, 3, Indexed("MarkScoreText", i));
        OwnSize(MarkScoreText[i], 495, 285);
        UpDownBalls[i] = new SpinButtons(p);
        UpDownBalls[i]->setObjectName(Indexed("UpDownBalls", i));
    }
}

void EditPanels::CreateDivision()
{
    QWidget* p = pane_;
    LabelDivName = MakeLabel(p, QStringLiteral("Название раздела"), "LabelDivName");
    OwnSize(LabelDivName, 3735, 255);
    TextDivName = MakeLine(p, 70, QStringLiteral("TextDivName"));
    OwnSize(TextDivName, kKeep, 285);
    TextNQ = MakeLine(p, 2, QStringLiteral("TextNQ"));
    TextNQ->setText(QStringLiteral("0"));
    UpDownNQ = new SpinButtons(p);
    UpDownNQ->setObjectName(QStringLiteral("UpDownNQ"));
    LabelNQ = MakeLabel(p, QStringLiteral("- Количество задаваемых вопросов"), "LabelNQ");
    LabelNQ->setWordWrap(true);
    LabelFNQ = MakeLabel(p, QStringLiteral("Всего в разделе 0 вопросов"), "LabelFNQ");
    OwnSize(LabelFNQ, 4215, 255);
}

void EditPanels::CreateQuestion()
{
    QWidget* p = pane_;
    LabelQuest = MakeLabel(p, QStringLiteral("Вопрос:"), "LabelQuest");
    OwnSize(LabelQuest, 4455, 255);
    TextQuest = MakeMultiLine(p, QStringLiteral("TextQuest"));
    OwnSize(TextQuest, kKeep, 735);
    LabelQBalls = MakeLabel(p, QStringLiteral("Баллы"), "LabelQBalls");
    OwnSize(LabelQBalls, 615, 255);
    for (int i = 0; i < kAnswerRows; ++i) {
        LabelAnswer[i] = MakeLabel(p, QStringLiteral("Вариант ответа %1").arg(i + 1), "LabelAnswer");
        LabelAnswer[i]->setObjectName(Indexed("LabelAnswer", i));
        OwnSize(LabelAnswer[i], 4095, 255);
        TextQMark[i] = MakeLine(p, 3, Indexed("TextQMark", i));
        OwnSize(TextQMark[i], 375, 285);
        UpDownQMark[i] = new SpinButtons(p);
        UpDownQMark[i]->setObjectName(Indexed("UpDownQMark", i));
        TextAnswer[i] = MakeMultiLine(p, Indexed("TextAnswer", i));
        OwnSize(TextAnswer[i], kKeep, 735);
    }
}

void EditPanels::SetTabOrder()
{
    std::vector<QWidget*> chain = {TestName, TestTime, CheckMissWork, OptionLogType[0], OptionLogType[1],
                                   OptionLogType[2], TextLogFile};
    for (int i = 0; i < kThresholdRows; ++i) {
        chain.push_back(MarkText[i]);
        chain.push_back(MarkScoreText[i]);
    }
    chain.push_back(MarkText[kMarkRows - 1]);
    chain.push_back(TextDivName);
    chain.push_back(TextNQ);
    chain.push_back(TextQuest);
    for (int i = 0; i < kAnswerRows; ++i) {
        chain.push_back(TextQMark[i]);
        chain.push_back(TextAnswer[i]);
    }
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void EditPanels::ClearLogTypeOptions()
{
    logTypeGroup_->setExclusive(false);
    for (QRadioButton* option : OptionLogType)
        option->setChecked(false);
    logTypeGroup_->setExclusive(true);
}

int EditPanels::ChosenLogType() const { return logTypeGroup_->checkedId(); }

void EditPanels::ShowOnly(NodeKind kind)
{
    const std::vector<QWidget*> parameters = {LTestName, TestName, TestTime, UpDownTestTime, LTestTime,
                                              CheckMissWork, Frame};
    std::vector<QWidget*> marks = {LabelBalls, LabelMarks, HLine, VLine, LabelMinScore};
    marks.insert(marks.end(), MarkText.begin(), MarkText.end());
    marks.insert(marks.end(), MarkScoreText.begin(), MarkScoreText.end());
    marks.insert(marks.end(), UpDownBalls.begin(), UpDownBalls.end());
    const std::vector<QWidget*> division = {LabelDivName, TextDivName, TextNQ, UpDownNQ, LabelNQ, HLine, LabelFNQ};
    std::vector<QWidget*> question = {LabelQuest, TextQuest, LabelQBalls, VLine};
    question.insert(question.end(), LabelAnswer.begin(), LabelAnswer.end());
    question.insert(question.end(), TextQMark.begin(), TextQMark.end());
    question.insert(question.end(), UpDownQMark.begin(), UpDownQMark.end());
    question.insert(question.end(), TextAnswer.begin(), TextAnswer.end());

    const std::vector<QWidget*>* shown = kind == NodeKind::Parameters ? &parameters
                                        : kind == NodeKind::Marks    ? &marks
                                        : kind == NodeKind::Division ? &division
                                                                     : &question;
    const std::vector<QWidget*>* groups[] = {&parameters, &marks, &division, &question};
    for (const std::vector<QWidget*>* group : groups) {
        if (group == shown)
            continue;
        for (QWidget* w : *group)
            w->hide();
    }
    // A line shared with a hidden panel ends up visible when this one uses it.
    for (QWidget* w : *shown)
        w->show();
}

int EditPanels::SetUpScroll(int contentHeight, int paneHeight)
{
    const QSignalBlocker blocker(vScroll_);
    vScroll_->setMinimum(0);
    vScroll_->setMaximum(contentHeight);
    vScroll_->setSingleStep(contentHeight / 10);
    vScroll_->setPageStep(std::clamp(paneHeight, 0, 32767));
    if (contentHeight > paneHeight) {
        vScroll_->setEnabled(true);
        return vScroll_->value();
    }
    vScroll_->setEnabled(false);
    return 0;
}

void EditPanels::LayOutForm(const std::string& currentKey)
{
    const int w = PixelsToTwips(pane_->width()) - kVScrollWidth;
    const int h = PixelsToTwips(pane_->height());
    const NodeKind kind = KindOf(currentKey);
    switch (kind) {
    case NodeKind::Parameters:
        ShowOnly(kind);
        LayOutParameters(w, SetUpScroll(kParametersHeight, h));
        break;
    case NodeKind::Marks:
        ShowOnly(kind);
        LayOutMarks(w, SetUpScroll(kMarksHeight, h));
        break;
    case NodeKind::Division:
        ShowOnly(kind);
        LayOutDivision(w, SetUpScroll(kDivisionHeight, h));
        break;
    case NodeKind::Question:
        ShowOnly(kind);
        LayOutQuestion(w, SetUpScroll(kQuestionHeight, h));
        break;
    default:
        return;
    }
}

void EditPanels::LayOutParameters(int w, int s)
{
    Place(LTestName, 120, 120 - s, w - 240);
    Place(TestName, 120, 360 - s, w - 240);
    Place(TestTime, 120, 720 - s, 495, 285);
    Place(UpDownTestTime, 615, 720 - s, 180, 285);
    Place(LTestTime, 960, 720 - s, w - 240, 285);
    Place(CheckMissWork, 120, 1200 - s, w - 240);
    Place(Frame, 120, 1680 - s, w - 240);
    // Inside the group box the tops do not move with scrolling.
    for (QWidget* inner : {static_cast<QWidget*>(OptionLogType[0]), static_cast<QWidget*>(OptionLogType[1]),
                           static_cast<QWidget*>(OptionLogType[2]), static_cast<QWidget*>(LabelFileName),
                           static_cast<QWidget*>(TextLogFile)})
        inner->resize(std::max(0, TwipsToPixels(w - 480)), inner->height());
}

void EditPanels::LayOutMarks(int w, int s)
{
    Place(LabelBalls, 240, 120 - s, 735, 255);
    Place(LabelMarks, 1440, 120 - s, 1815, 255);
    HLine->setGeometry(0, TwipsToPixels(450 - s), std::max(0, TwipsToPixels(w)), 1);
    Place(LabelMinScore, 120, 570 - s, 800);
    for (int i = 0; i < kMarkRows; ++i)
        Place(MarkText[i], 1200, 570 + 405 * i - s, w - 1320);
    for (int i = 0; i < kThresholdRows; ++i) {
        Place(MarkScoreText[i], 120, 950 + 405 * i - s);
        Place(UpDownBalls[i], 615, 950 + 405 * i - s, 180, 285);
    }
    // The rule starts at the top whatever the offset; its lower end scrolls.
    VLine->setGeometry(TwipsToPixels(1000), 0, 1, std::max(0, TwipsToPixels(kMarksHeight - s)));
}

void EditPanels::LayOutDivision(int w, int s)
{
    Place(LabelDivName, 120, 120 - s);
    Place(TextDivName, 120, 360 - s, w - 240);
    Place(TextNQ, 120, 840 - s, 495, 285);
    Place(UpDownNQ, 600, 840 - s, 180, 285); // overlaps the box by 15
    // In a narrow pane (the first run's) the caption takes a second line
    // rather than run under the scroll bar; there is room above the rule.
    Place(LabelNQ, 1080, 840 - s, std::min(3255, w - 1080), 285);
    LabelNQ->resize(LabelNQ->width(), std::max(LabelNQ->height(), LabelNQ->heightForWidth(LabelNQ->width())));
    HLine->setGeometry(0, TwipsToPixels(1300 - s), std::max(0, TwipsToPixels(w)), 1);
    Place(LabelFNQ, 120, 1400 - s);
}

void EditPanels::LayOutQuestion(int w, int s)
{
    Place(LabelQuest, 120, 120 - s);
    Place(TextQuest, 120, 360 - s, w - 240);
    Place(LabelQBalls, 120, 1320 - s);
    for (int i = 0; i < kAnswerRows; ++i) {
        Place(LabelAnswer[i], 960, 1320 + 1100 * i - s);
        Place(TextQMark[i], 120, 1570 + 1100 * i - s);
        Place(UpDownQMark[i], 480, 1570 + 1100 * i - s, 180, 285);
        Place(TextAnswer[i], 960, 1570 + 1100 * i - s, w - 1080);
    }
    VLine->setGeometry(TwipsToPixels(800), TwipsToPixels(1320 - s), 1, TwipsToPixels(kQuestionHeight - 1320));
}

} // namespace mirvane
