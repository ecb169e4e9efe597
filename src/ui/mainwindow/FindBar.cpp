#include "mainwindow/FindBar.h"
#include "mainwindow/PanelBoxes.h"
#include "mainwindow/PanelFields.h"

#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "commands/StructuralEdits.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/Twips.h"
#include "platform/TextBridge.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QToolButton>

namespace mirvane {

FindBar::FindBar(QWidget* parent, EditPanels& panels, const PanelFields& fields, EditorState& state, PanelHost& host,
                 StructuralEdits& edits)
    : QWidget(parent), panels_(panels), fields_(fields), state_(state), host_(host), edits_(edits)
{
    setObjectName(QStringLiteral("FindBar"));
    // Two rows, so that everything fits beside the tree at the window's
    // smallest width: the text on top, the buttons and the option below.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setVerticalSpacing(2);
    layout->addWidget(new QLabel(QStringLiteral("Найти:"), this), 0, 0);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindText"));
    auto button = [this](const QString& caption, const QString& tip, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(caption);
        b->setToolTip(tip);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    QToolButton* close = button(QStringLiteral("✕"), QStringLiteral("Закрыть (Esc)"), [this] { Close(); });
    close->setAutoRaise(true);
    outcome_ = new QLabel(this);
    outcome_->setObjectName(QStringLiteral("FindOutcome"));
    outcome_->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* top = new QHBoxLayout;
    top->addWidget(text_, 1);
    top->addWidget(outcome_);
    top->addWidget(close);
    layout->addLayout(top, 0, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(button(QStringLiteral("▼"), QStringLiteral("Найти далее (F3)"), [this] { FindNext(); }));
    bottom->addWidget(button(QStringLiteral("▲"), QStringLiteral("Найти ранее (Shift+F3)"), [this] { FindPrevious(); }));
    matchCase_ = new QCheckBox(QStringLiteral("Учитывать регистр"), this);
    matchCase_->setObjectName(QStringLiteral("FindMatchCase"));
    bottom->addWidget(matchCase_, 1);
    layout->addLayout(bottom, 1, 1);
    connect(text_, &QLineEdit::textChanged, this, [this] {
        outcome_->clear();
        lastHit_.reset();
    });
    connect(matchCase_, &QCheckBox::toggled, this, [this] { outcome_->clear(); });
    hide();
}

QString FindBar::Outcome() const { return outcome_->text(); }

void FindBar::Open()
{
    const bool wasHidden = isHidden();
    show();
    raise();
    if (wasHidden)
        emit VisibilityChanged();
    text_->setFocus();
    text_->selectAll();
}

void FindBar::Close()
{
    if (isHidden())
        return;
    hide();
    emit VisibilityChanged();
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Find(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Escape:
        Close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool FindBar::Find(bool forward)
{
    if (text_->text().isEmpty()) {
        Open();
        return false;
    }
    // The search sees what is typed in the panel.
    const TestDocument& document = host_.CommittedDocument();
    const bool fromHit = lastHit_ && lastHit_->Place.Key == state_.CurrentKey;
    const TextPlace from = fromHit ? lastHit_->Place : TextPlace{state_.CurrentKey};
    const auto hit = FindText(document, {FromBoxLines(text_->text()), matchCase_->isChecked()}, from, forward, fromHit);
    if (!hit) {
        outcome_->setText(find_text::kNotFound);
        lastHit_.reset();
        return false;
    }
    outcome_->clear();
    lastHit_ = hit;
    ShowHit(*hit);
    return true;
}

void FindBar::ShowHit(const TextHit& hit)
{
    edits_.Show(hit.Place.Key);
    const TextPlace& at = hit.Place;
    const PanelField* field = fields_.Find(at.Field, at.Slot);
    if (!field)
        return;
    const bool mark = at.Field == DocumentField::Mark;
    QWidget* box = field->Boxes.at(mark ? static_cast<std::size_t>(at.Slot) : 0);
    const FieldValue value = state_.Document->Value(field->PlaceIn(at.Key));
    const std::string_view text = mark ? std::get<MarkTable>(value).at(static_cast<std::size_t>(at.Slot)).Description
                                       : std::get<std::string>(value);
    const auto start = static_cast<int>(ToBoxLines(text.substr(0, hit.Place.Offset)).size());
    const auto length = static_cast<int>(ToBoxLines(text.substr(hit.Place.Offset, hit.Length)).size());
    mirvane::SelectInBox(box, start, length);
    // The panel scrolls so that the box is in view.
    QScrollBar* scroll = panels_.VScroll();
    const int margin = TwipsToPixels(120);
    if (box->y() < 0 || box->y() + box->height() > panels_.Pane()->height())
        scroll->setValue(scroll->value() + PixelsToTwips(box->y() - margin));
    // Searching from the bar keeps the focus there, for the next Enter; a
    // selection shows in its box all the same.
    if (!isAncestorOf(QApplication::focusWidget()))
        box->setFocus();
}

} // namespace mirvane
