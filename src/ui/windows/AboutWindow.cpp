#include "windows/AboutWindow.h"

#include "windows/ProgramVersion.h"
#include "windows/SplashScreen.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirvane {

namespace {
QFrame* Rule(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

AboutWindow::AboutWindow(QWidget* mainWindow, Registry& registry, Launcher& launcher, Prompter& prompter)
    : QDialog(mainWindow), registry_(registry), launcher_(launcher), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProgramName);
    setModal(true);

    picIcon = new QLabel(this);
    picIcon->setPixmap(ProductPicture());
    lblTitle = new QLabel(kProgramName, this);
    QFont title = lblTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.6);
    lblTitle->setFont(title);
    lblVersion = new QLabel(VersionLabel(), this);
    lblDescription = new QLabel(about_text::kDescription, this);
    lblDescription->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Rule(this)); // the pair of rules of Line1
    layout->addWidget(Rule(this));
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutWindow::StartSysInfo);
}

void AboutWindow::StartSysInfo()
{
    const auto tool = registry_.SystemInfoTool();
    if (!tool || !launcher_.Start(*tool, {}, QString()))
        prompter_.Notice(about_text::kNoSystemInfo);
}

} // namespace mirvane
