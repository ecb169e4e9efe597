#pragma once
// The editing controls of all four node kinds, children of the container
// Pane, and the layout that shows one kind at a time. What the controls hold
// is moved to and from the test by the panel transfer; the spin controls and
// change reactions are wired by the main window.
#include <QObject>

#include "model/NodeKey.h"

#include <array>
#include <string>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QButtonGroup;
class QScrollBar;
class QWidget;

namespace mirvane {

class SpinButtons;

class EditPanels : public QObject {
    Q_OBJECT
public:
    // Content heights in twips; the scroll bar runs from 0 to these.
    static constexpr int kParametersHeight = 3300;
    static constexpr int kMarksHeight = 4620;
    static constexpr int kDivisionHeight = 2000;
    static constexpr int kQuestionHeight = 11100;
    static constexpr int kVScrollWidth = 255;

    // Rows of the panels: marks 0 to 9 (row 0, the failing mark, has no
    // threshold box), and the nine answers the panel fills.
    static constexpr int kMarkRows = 10;
    static constexpr int kThresholdRows = kMarkRows - 1;
    static constexpr int kAnswerRows = 9;

    explicit EditPanels(QWidget* pane);

    QWidget* Pane() const { return pane_; }
    QScrollBar* VScroll() const { return vScroll_; }

    // Shows the panel of the key's kind ("p", "m", "d", "q" by its first
    // character) and lays it out for the current size of Pane and position of
    // VScroll. Any other key leaves every control as it was.
    void LayOutForm(const std::string& currentKey);

    // Clears all three journal options.
    void ClearLogTypeOptions();
    // The chosen journal option, or -1 when none is chosen.
    int ChosenLogType() const;

    // Test parameters
    QLabel* LTestName;
    QLineEdit* TestName;
    QLineEdit* TestTime;
    SpinButtons* UpDownTestTime;
    QLabel* LTestTime;
    QCheckBox* CheckMissWork;
    QGroupBox* Frame;
    std::array<QRadioButton*, 3> OptionLogType;
    QLabel* LabelFileName;
    QLineEdit* TextLogFile;

    // Marks
    QLabel* LabelBalls;
    QLabel* LabelMarks;
    QFrame* VLine;
    QFrame* HLine;
    QLabel* LabelMinScore;
    std::array<QLineEdit*, kMarkRows> MarkText;
    std::array<QLineEdit*, kThresholdRows> MarkScoreText;
    std::array<SpinButtons*, kThresholdRows> UpDownBalls;

    // Division
    QLabel* LabelDivName;
    QLineEdit* TextDivName;
    QLineEdit* TextNQ;
    SpinButtons* UpDownNQ;
    QLabel* LabelNQ;
    QLabel* LabelFNQ;

    // Question
    QLabel* LabelQuest;
    QPlainTextEdit* TextQuest;
    QLabel* LabelQBalls;
    std::array<QLabel*, kAnswerRows> LabelAnswer;
    std::array<QLineEdit*, kAnswerRows> TextQMark;
    std::array<SpinButtons*, kAnswerRows> UpDownQMark;
    std::array<QPlainTextEdit*, kAnswerRows> TextAnswer;

private:
    void CreateParameters();
    void CreateMarks();
    void CreateDivision();
    void CreateQuestion();
    void SetTabOrder();
    void ShowOnly(NodeKind kind);
    int SetUpScroll(int contentHeight, int paneHeight);
    void LayOutParameters(int w, int s);
    void LayOutMarks(int w, int s);
    void LayOutDivision(int w, int s);
    void LayOutQuestion(int w, int s);

    QWidget* pane_;
    QScrollBar* vScroll_;
    QButtonGroup* logTypeGroup_;
};

} // namespace mirvane
