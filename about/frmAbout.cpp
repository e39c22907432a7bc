#include "about/frmAbout.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "about/about_texts.h"
#include "resources/icons.h"
#include "shell/display_text.h"
#include "shell/event_log.h"
#include "shell/trap.h"
#include "shell/ui_services.h"

namespace orvane {

namespace {

QFrame* decorationLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmAbout::frmAbout(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), picIcon_(new QLabel(this)), lblTitle_(new QLabel(this)),
      lblVersion_(new QLabel(this)), lblDescription_(new QLabel(this)),
      revisionBox_(new QPlainTextEdit(this)), cmdOK_(new QPushButton(QStringLiteral("OK"), this)),
      cmdSysInfo_(new QPushButton(QStringLiteral("&Systeminfo..."), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    revisionBox_->setObjectName(QStringLiteral("revisionBox"));
    revisionBox_->setReadOnly(true);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    picIcon_->setPixmap(programIcon(32));
    picIcon_->setFixedSize(32, 32);
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblTitle_, 0, 1);
    grid->addWidget(lblVersion_, 1, 1);
    grid->addWidget(decorationLine(this), 2, 0, 1, 3);
    grid->addWidget(revisionBox_, 3, 0, 1, 3);
    grid->addWidget(decorationLine(this), 4, 0, 1, 3);
    grid->addWidget(lblDescription_, 5, 0, 2, 2);
    grid->addWidget(cmdOK_, 5, 2);
    grid->addWidget(cmdSysInfo_, 6, 2);
    resize(460, 400);

    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo_, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    Form_Load();
}

void frmAbout::Form_Load() {
    context_.log.logI("entering frmAbout.Form_Load()");
    setWindowTitle(QString::fromStdString(aboutCaption()));
    lblTitle_->setText(displayText(aboutTitleText()));
    lblVersion_->setText(displayText(aboutVersionText()));
    lblDescription_->setText(displayText(aboutDescriptionText()));
    revisionBox_->setPlainText(displayText(revisionHistoryText()));
    context_.log.logI("exiting frmAbout.Form_Load()");
}

void frmAbout::cmdOK_Click() {
    const Trap trap(context_.log);
    trap([&] { context_.log.logI("entering frmAbout.cmdOK_Click()"); });
    trap([&] { accept(); });
    trap([&] { context_.log.logI("exiting frmAbout.cmdOK_Click()"); });
}

void frmAbout::StartSysInfo() {
    context_.log.logI("entering frmAbout.StartSysInfo()");
    // This platform has neither the registry that names the system-information program
    // nor the program itself, so the box always tells that it is unavailable; the exit
    // line belongs to a successful start only.
    context_.ui.messageBox(
        this, MessageBoxRequest{kSysInfoUnavailable, {}, MessageIcon::None, MessageButtons::Ok});
}

} // namespace orvane
