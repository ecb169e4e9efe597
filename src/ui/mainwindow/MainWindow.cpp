#include "mainwindow/MainWindow.h"

#include "commands/HelpCommands.h"
#include "commands/PreviewCommand.h"
#include "windows/SplashScreen.h"
#include "windows/FindingsDock.h"
#include "commands/StructureCheckCommand.h"
#include "windows/SummaryWindow.h"
#include "check/TestSummary.h"
#include "document/WorkCopy.h"
#include "commands/ClipboardCommands.h"
#include "commands/CommandActions.h"
#include "commands/MainMenu.h"
#include "commands/RecentFilesMenu.h"
#include "commands/ToolbarIcons.h"
#include "commands/TreeContextMenu.h"
#include "editor/EditHistory.h"
#include "commands/StructuralEdits.h"
#include "tree/StructureTree.h"
#include "mainwindow/BestAnswerMarks.h"
#include "commands/ExportCommands.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/FieldEditing.h"
#include "mainwindow/FieldHistory.h"
#include "mainwindow/FindBar.h"
#include "mainwindow/PanelFields.h"
#include "mainwindow/PanelSpelling.h"
#include "mainwindow/PanelTransfer.h"
#include "mainwindow/StatusFeedback.h"
#include "mainwindow/Twips.h"
#include "mainwindow/WindowLifecycle.h"
#include "mainwindow/WindowSizing.h"
#include "platform/ProgramName.h"
#include "platform/Prompter.h"
#include "platform/TextBridge.h"
#include "commands/DocumentCommands.h"
#include "commands/RecentFiles.h"
#include "editor/RecoveryStore.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>

namespace mirvane {

MainWindow::MainWindow(const Platform& platform, QWidget* parent) : QMainWindow(parent), platform_(platform)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(ProductPicture()));
    setAcceptDrops(true);
    CreateParts();
    lifecycle_->RestoreOnStart();
    ShowDocument(std::make_unique<TestDocument>());
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateParts()
{
    tbToolBar_ = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setFixedHeight(TwipsToPixels(420));
    // All seventeen buttons fit the window at its first-run width.
    tbToolBar_->setIconSize(QSize(16, 16));
    tbToolBar_->setStyleSheet(QStringLiteral("QToolButton { padding: 1px; margin: 0px; }"));
    sbStatusBar_ = statusBar();
    sbStatusBar_->setObjectName(QStringLiteral("sbStatusBar"));

    client_ = new QWidget(this);
    setCentralWidget(client_);
    picTitles_ = new QWidget(client_);
    picTitles_->setObjectName(QStringLiteral("picTitles"));
    lblTitle_[0] = new QLabel(QStringLiteral(" Содержимое:"), picTitles_);
    lblTitle_[1] = new QLabel(QStringLiteral("Редактировать:"), picTitles_);
    lblTitle_[0]->setObjectName(QStringLiteral("lblTitle_0"));
    lblTitle_[1]->setObjectName(QStringLiteral("lblTitle_1"));

    tree_ = new StructureTree(client_);
    pane_ = new QWidget(client_);
    pane_->setObjectName(QStringLiteral("Pane"));
    pane_->setAutoFillBackground(true);
    pane_->setBackgroundRole(QPalette::Window);
    // The panels' captions were laid out for a small 8-point sans serif; at
    // the desktop's usual size the fixed-width labels would be cut.
    QFont panelFont = pane_->font();
    panelFont.setPointSizeF(8);
    pane_->setFont(panelFont);
    panels_ = new EditPanels(pane_);
    imgSplitter_ = new QWidget(client_);
    imgSplitter_->setObjectName(QStringLiteral("imgSplitter"));
    picSplitter_ = new QWidget(client_);
    picSplitter_->setObjectName(QStringLiteral("picSplitter"));

    panelFields_ = std::make_unique<PanelFields>(*panels_, *platform_.prompter);
    transfer_ = std::make_unique<PanelTransfer>(state_, *panels_, *panelFields_);
    sizing_ = new WindowSizing({this, client_, picTitles_, lblTitle_[0], lblTitle_[1], tree_->Widget(), imgSplitter_,
                                picSplitter_, pane_, panels_->VScroll()},
                               [this] { LayOutForm(); });

    documents_ = std::make_unique<DocumentCommands>(state_, *platform_.prompter, *platform_.fileDialogs, *this, *this);
    lifecycle_ = new WindowLifecycle(*this, *platform_.settings, *documents_, *sizing_);
    lifecycle_->SetUpStatusBar(sbStatusBar_);
    history_ = new EditHistory(this);
    documents_->FollowHistory(&history_->Stack());
    edits_ = std::make_unique<StructuralEdits>(state_, *tree_, *platform_.prompter, *this, *history_);
    edits_->FocusAfterAdding([this](const std::string& key) { FocusAdded(key); });
    fieldEditing_ = new FieldEditing(
        *panels_, [this](const QString& title) { SetCaption(title); },
        [this](const QString& message) { sbStatusBar_->showMessage(message); }, this);
    new BestAnswerMarks(*panels_);
    // After the field reactions: a rewrap while typing is part of the step.
    fieldHistory_ = new FieldHistory(*panelFields_, state_, *history_, *edits_, this);
    findBar_ = new FindBar(client_, *panels_, *panelFields_, state_, *this, *edits_);
    sizing_->KeepBelowPane(findBar_);
    connect(findBar_, &FindBar::VisibilityChanged, this, [this] { sizing_->FitToWindow(); });
    CreateCommands();

    connect(tree_, &StructureTree::SelectionProcedureRequested, this,
            [this] { RunGuarded(QStringLiteral("Выбор узла"), [this] { ShowSelectedNode(); }); });
    // The panel follows the thumb while it is dragged, not only on release.
    connect(panels_->VScroll(), &QScrollBar::valueChanged, this, [this] { LayOutForm(); });
}

void MainWindow::CreateCommands()
{
    check_ = std::make_unique<StructureCheckCommand>(state_, *tree_, *this, *this);
    exports_ = std::make_unique<ExportCommands>(state_, *platform_.prompter, *platform_.fileDialogs, *platform_.printing,
                                                *this, *this);
    clipboard_ = std::make_unique<ClipboardCommands>(state_, *tree_, *edits_, *platform_.clipboard, *this, *pane_);
    const QString programFolder = QCoreApplication::applicationDirPath();
    preview_ = std::make_unique<PreviewCommand>(state_, *this, *platform_.prompter, *platform_.launcher, programFolder,
                                                QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    help_ = std::make_unique<HelpCommands>(
        state_, HelpCommands::Services{*platform_.prompter, *platform_.helpViewer, *platform_.registry, *platform_.launcher},
        *this, programFolder);
    spelling_ = new PanelSpelling({*panels_, *history_, *platform_.settings, *platform_.prompter, *tree_, *this, state_, *this},
                                  platform_.dictionaries, this);
    CreateFindings();
    actions_ = new CommandActions(this, {*documents_, *edits_, *check_, *exports_, *clipboard_, *preview_, *help_, *history_, *findBar_, [this] { ShowSummary(); }, *spelling_},
                                  [this](const QString& name, const std::function<void()>& run) { RunGuarded(name, run); });
    actions_->KeysInTree(tree_->Widget());
    QMenu* file = BuildMenuBar(menuBar(), *actions_, findings_->toggleViewAction());
    recent_ = std::make_unique<RecentFiles>(*platform_.settings);
    documents_->KeepRecentFiles(recent_.get());
    if (!platform_.recoveryFolder.isEmpty()) {
        recovery_ = std::make_unique<RecoveryStore>(platform_.recoveryFolder, QCoreApplication::applicationPid(),
                                                    &RecoveryStore::ProcessRuns);
        documents_->KeepRecoveryCopies(recovery_.get());
        auto* every30s = new QTimer(this);
        connect(every30s, &QTimer::timeout, this, [this] {
            // A copy that could not be written is told once, and tried again.
            if (const auto failure = recovery_->NewFailure())
                sbStatusBar_->showMessage(QStringLiteral("Копия работы не записана: %1").arg(*failure));
            RunGuarded(QStringLiteral("Копия работы"), [this] { SnapshotWork(); });
        });
        every30s->start(30000);
    }
    recentMenu_ = new RecentFilesMenu(file, actions_->Get(Command::Exit), *recent_, *documents_,
                                      [this](const QString& name, const std::function<void()>& run) { RunGuarded(name, run); });
    BuildToolbar(tbToolBar_, *actions_, findings_->toggleViewAction());
    feedback_ = new StatusFeedback(sbStatusBar_, sbStatusBar_->findChild<QLabel*>(QStringLiteral("StatusPanel")),
                                   *platform_.prompter);
    const StatusReport report = [this](const QString& text, const QString& details) { feedback_->Show(text, details); };
    documents_->ReportTo(report);
    exports_->ReportTo(report);
    contextMenu_ = new TreeContextMenu(this, *actions_, state_, *this);
    connect(tree_, &StructureTree::RightButtonReleased, this, [this](QPoint position) {
        RunGuarded(QStringLiteral("Контекстное меню"), [this, position] { contextMenu_->TreeMouseReleased(Qt::RightButton, position); });
    });
    connect(tree_, &StructureTree::MoveRequested, this,
            [this](const std::string& key, const std::string& division, std::size_t index) {
                RunGuarded(QStringLiteral("Перемещение"), [&] { edits_->MoveTo(key, division, index); });
            });
}

void MainWindow::CreateFindings()
{
    findings_ = new FindingsDock(this, *platform_.settings, [this] {
        return workCopies_->TakeStep(state_.CurrentKey, [this](Test& copy) { transfer_->StoreShownInto(copy); });
    });
    QAction* toggle = findings_->toggleViewAction();
    toggle->setObjectName(QStringLiteral("Findings"));
    toggle->setToolTip(QStringLiteral("Замечания"));
    toggle->setIcon(ToolbarIcon(QStringLiteral("Findings")));
    addDockWidget(Qt::BottomDockWidgetArea, findings_);
    findings_->hide();
    client_->installEventFilter(this);
    // Every edit, undo and redo is a step of the history; a save marks the
    // saved step.
    connect(&history_->Stack(), &QUndoStack::indexChanged, findings_, &FindingsDock::RefreshSoon);
    // The stack outlives the window's own part while the window is taken
    // down: the step names the dock alone, never the window.
    connect(&history_->Stack(), &QUndoStack::cleanChanged, findings_, [dock = findings_](bool clean) {
        if (clean)
            dock->RefreshNow();
    });
    connect(findings_, &FindingsDock::NodeChosen, this, [this](const QString& key) {
        RunGuarded(QStringLiteral("Замечания"), [this, key] { ShowNode(key.toStdString()); });
    });
}

std::unique_ptr<Test> MainWindow::WorkCopy() const
{
    auto copy = CopyInDocumentOrder(state_.Document->Model(), state_.Document->Order());
    transfer_->StoreShownInto(*copy);
    return copy;
}

void MainWindow::ShowSummary()
{
    if (!summary_) {
        summary_ = new SummaryWindow(this, [this] { return ToQt(SummaryText(Summarize(*WorkCopy()))); });
        summary_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        summary_->Refresh();
    }
    summary_->show();
    summary_->raise();
    summary_->activateWindow();
}

void MainWindow::ShowNode(const std::string& key)
{
    if (!tree_->Contains(key))
        return; // gone since the list was made
    tree_->Select(key);
    ShowSelectedNode();
    tree_->Select(state_.CurrentKey); // scrolled into view
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize && sizing_)
        sizing_->FitToWindow();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::RunGuarded(const QString& what, const std::function<void()>& action)
{
    // An event handler must never let an error escape into the event loop.
    QString reason;
    try {
        action();
        return;
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = QStringLiteral("неизвестная ошибка");
    }
    platform_.prompter->Notice(QStringLiteral("Не удалось выполнить «%1»:\r\n%2").arg(what, reason));
}

void MainWindow::ShowSelectedNode()
{
    history_->EndTypingRun();
    Form2Data();
    state_.CurrentKey = tree_->SelectedKey();
    Data2Form();
    LayOutForm();
}

void MainWindow::FocusAdded(const std::string& key)
{
    // The new item's name or text is what the user types next; the tree
    // keeps the item selected.
    if (KindOf(key) == NodeKind::Question) {
        panels_->TextQuest->setFocus(Qt::OtherFocusReason);
        panels_->TextQuest->selectAll();
    } else if (KindOf(key) == NodeKind::Division) {
        panels_->TextDivName->setFocus(Qt::OtherFocusReason);
        panels_->TextDivName->selectAll();
    }
}

void MainWindow::LayOutForm() { panels_->LayOutForm(state_.CurrentKey); }

void MainWindow::Form2Data() { fieldHistory_->Quietly([this] { transfer_->Form2Data(); }); }

void MainWindow::Data2Form() { fieldHistory_->Quietly([this] { transfer_->Data2Form(); }); }

void MainWindow::SnapshotWork()
{
    if (recovery_)
        recovery_->Keep(transfer_->WorkAsShown(), state_.DocumentFile);
}

void MainWindow::OpenFile(const QString& path) { documents_->OpenFile(path); }

void MainWindow::OfferRecovery()
{
    if (!recovery_)
        return;
    for (const RecoveryStore::Copy& copy : recovery_->Orphans()) {
        const QString question = QStringLiteral("Восстановить несохранённую работу от %1 (%2)?")
                                     .arg(copy.SavedAt, QFileInfo(copy.DocumentFile).isAbsolute()
                                                            ? QDir::toNativeSeparators(copy.DocumentFile)
                                                            : kNewDocumentName);
        if (platform_.prompter->AskYesNo(question, kProgramName) != Prompter::Answer::Yes) {
            RecoveryStore::Remove(copy);
            continue;
        }
        if (documents_->RestoreCopy(copy.CopyFile, copy.DocumentFile)) {
            SnapshotWork(); // the restored work is this editor's copy now
            recovery_->Flush();
            if (!recovery_->CopyFailed()) // else the old copy is the only one
                RecoveryStore::Remove(copy);
            return; // any other copy waits for the next start
        }
    }
}

TestDocument& MainWindow::CommittedDocument()
{
    ShowSelectedNode();
    return *state_.Document;
}

void MainWindow::ShowDocument(std::unique_ptr<TestDocument> document)
{
    workCopies_.reset(); // it follows the document it was made for
    state_.Document = document ? std::move(document) : std::make_unique<TestDocument>();
    workCopies_ = std::make_unique<WorkCopyKeeper>(*state_.Document);
    history_->Clear(); // the steps of the document before do not apply to this one
    tree_->BuildTree(*state_.Document);
    state_.CurrentKey = std::string(kParametersKey);
    SetCaption(ToQt(state_.Document->Model().TestName));
    Data2Form();
    LayOutForm();
    if (findings_)
        findings_->RefreshNow();
}

void MainWindow::SetCaption(const QString& title) { setWindowTitle(title + QStringLiteral(" - ") + kProgramName); }

void MainWindow::closeEvent(QCloseEvent* event)
{
    bool close = true;
    RunGuarded(QStringLiteral("Закрытие окна"), [&] { close = lifecycle_->ConfirmClose(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // A window manager usually takes Alt+F4 and sends the close request; but
    // a desktop without that binding, or keys sent to the window directly
    // while another window has the focus, bring the key here, and the close
    // with its save question must not be lost then either.
    if (event->keyCombination() == QKeyCombination(Qt::AltModifier, Qt::Key_F4)) {
        event->accept();
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

namespace {
// The local file of a drop, when it brings one.
QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return {};
    return data->urls().first().toLocalFile();
}
} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    RunGuarded(QStringLiteral("Открыть"), [this, path] { documents_->OpenNamed(path); });
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The stored size is the window's with its frame, which the window
    // system adds only once the window is shown.
    QTimer::singleShot(0, this, [this] { lifecycle_->FitFrame(); });
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    sizing_->FitToWindow();
    if (lifecycle_)
        lifecycle_->FitFrame();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (lifecycle_)
        lifecycle_->FitFrame();
}

} // namespace mirvane
