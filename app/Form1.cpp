#include "app/Form1.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "about/frmAbout.h"
#include "app/device_list_view.h"
#include "app/device_monitor.h"
#include "config/Dialog2.h"
#include "console/Dialog1.h"
#include "device/runtime_failure.h"
#include "device/tavrel_api.h"
#include "firmware/Dialog.h"
#include "program_version.h"
#include "resources/icons.h"
#include "resources/string_ids.h"
#include "resources/texts/shared_texts.h"
#include "shell/device_opening.h"
#include "shell/localization.h"
#include "shell/log_file.h"
#include "shell/permission_hint.h"
#include "shell/time_stamp.h"
#include "shell/trap.h"
#include "shell/ui_services.h"

namespace orvane {

namespace {

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

// Texts of the library are single-byte; the known-device names are plain ASCII.
QString tableText(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The list's rows in one line for the event log, so that a followed change can be traced:
// 2 listed: "ZT2960" 21375:25637 serial "GADGET1" 18/8; ...
std::string listedDevices(const DeviceTable& table) {
    std::string text = std::to_string(table.deviceCount()) + " listed";
    for (int slot = 0; slot < table.deviceCount(); ++slot) {
        const DeviceRow& r = table.row(slot);
        text += (slot == 0 ? ": \"" : "; \"") + r.deviceName + "\" " +
                std::to_string(tableNumber(r.vendorId)) + ':' +
                std::to_string(tableNumber(r.productId)) + " serial \"" + r.serialNumber + "\" " +
                std::to_string(tableNumber(r.inputReportLen)) + '/' +
                std::to_string(tableNumber(r.outputReportLen));
    }
    return text;
}

QPushButton* namedButton(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QToolButton* flagButton(QWidget* parent, const char* name, const QPixmap& flag) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(QIcon(flag));
    b->setIconSize(flag.size());
    b->setAutoRaise(true);
    return b;
}

// The selected device, told apart from the others by its ids and strings; among equal
// devices by its place among them.
struct DeviceIdentity {
    long long vendorId = 0;
    long long productId = 0;
    std::string deviceName, manufacturer, serialNumber;
    int occurrence = 0;

    bool matches(const DeviceRow& r) const {
        return tableNumber(r.vendorId) == vendorId && tableNumber(r.productId) == productId &&
               r.deviceName == deviceName && r.manufacturer == manufacturer &&
               r.serialNumber == serialNumber;
    }
};

std::optional<DeviceIdentity> identityAt(const DeviceTable& table, int slot) {
    if (slot < 0 || slot >= table.deviceCount()) return std::nullopt;
    const DeviceRow& r = table.row(slot);
    DeviceIdentity id{tableNumber(r.vendorId), tableNumber(r.productId), r.deviceName,
                      r.manufacturer, r.serialNumber};
    for (int i = 0; i < slot; ++i)
        if (id.matches(table.row(i))) ++id.occurrence;
    return id;
}

std::optional<int> slotOf(const DeviceTable& table, const DeviceIdentity& id) {
    int seen = 0;
    for (int slot = 0; slot < table.deviceCount(); ++slot)
        if (id.matches(table.row(slot)) && seen++ == id.occurrence) return slot;
    return std::nullopt;
}

QLineEdit* namedField(QWidget* parent, const char* name) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setReadOnly(true);
    f->setMaximumWidth(48);
    return f;
}

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)),
      log_(services_.ui, services_.timeStamp ? services_.timeStamp : &localTimeStamp),
      port_(services_.tavrel, [this](std::string_view notice) { log_.logW(notice); }),
      context_{language_, services_.tavrel, services_.ui,      services_.os, log_,
               port_,     clock_,           services_.joystick},
      Devices_(new QLabel(this)), DeviceList_(new DeviceListView(this)),
      OpenDev2_(namedButton(this, "OpenDev2_0")),
      Console_Command_(namedButton(this, "Console_Command")),
      OpenDev_(namedButton(this, "OpenDev_0")),
      commandAktualisieren_(namedButton(this, "commandAktualisieren_1")),
      UpdatesCommand_(namedButton(this, "UpdatesCommand")), Cancel_(namedButton(this, "Cancel_2")),
      Help_Command_(namedButton(this, "Help_Command")),
      CommandDeutsch_(flagButton(this, "CommandDeutsch", germanFlag(QSize(24, 15)))),
      commandEnglisch_(flagButton(this, "commandEnglisch", englishFlag(QSize(24, 15)))),
      VendorIDTextBox_(namedField(this, "VendorIDTextBox")),
      ProductIDTextBox_(namedField(this, "ProductIDTextBox")),
      deviceChangeTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(programWindowIcon());
    log_.setMessageParent(this);

    Devices_->setObjectName(QStringLiteral("Devices"));
    Devices_->setWordWrap(true);
    DeviceList_->setObjectName(QStringLiteral("DeviceList"));
    DeviceList_->setColumnCount(7);
    DeviceList_->setHeaderLabels({QStringLiteral("Device Name"), QStringLiteral("Manufacturer"),
                                  QStringLiteral("Vendor ID"), QStringLiteral("Product ID"),
                                  QStringLiteral("Serial Number"), QStringLiteral("In Rpt Len"),
                                  QStringLiteral("Out Rpt Len")});
    DeviceList_->setRootIsDecorated(false);
    DeviceList_->setUniformRowHeights(true);
    DeviceList_->setAllColumnsShowFocus(true);
    DeviceList_->setSelectionMode(QAbstractItemView::SingleSelection);
    DeviceList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DeviceList_->header()->setStretchLastSection(true);
    for (int column = 0; column < 7; ++column)
        DeviceList_->setColumnWidth(column, column < 2 ? 140 : 90);
    DeviceList_->viewport()->installEventFilter(this);
    connect(DeviceList_, &DeviceListView::selectedByKey, this,
            [this] { Trap{log_}([this] { DeviceList_Click(); }); });
    connect(DeviceList_, &DeviceListView::activatedByKey, this,
            [this] { Trap{log_}([this] { DeviceList_DblClick(); }); });

    OpenDev2_->setToolTip(QStringLiteral("Open selected USB device"));
    OpenDev_->setToolTip(QStringLiteral("Wait for USB-Vexa3 and connect with boot loader"));
    commandAktualisieren_->setToolTip(QStringLiteral("Refresh HID USB develist"));
    Cancel_->setToolTip(QStringLiteral("Close Program"));
    Help_Command_->setText(QStringLiteral("&?"));
    Help_Command_->setMaximumWidth(40);

    auto* top = new QHBoxLayout;
    top->addWidget(Devices_, 1);
    top->addWidget(CommandDeutsch_, 0, Qt::AlignTop);
    top->addWidget(commandEnglisch_, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {OpenDev2_, Console_Command_, OpenDev_, commandAktualisieren_, UpdatesCommand_, Cancel_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(ProductIDTextBox_);
    buttons->addWidget(VendorIDTextBox_);
    buttons->addWidget(Help_Command_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DeviceList_, 1);
    layout->addLayout(buttons);
    resize(760, 360);

    connectClick(OpenDev2_, [this] { OpenDev2_Click(0); });
    connectClick(Console_Command_, [this] { Console_Command_Click(); });
    connectClick(OpenDev_, [this] { OpenDev_Click(0); });
    connectClick(commandAktualisieren_, [this] { commandAktualisieren_Click(1); });
    connectClick(UpdatesCommand_, [this] { UpdatesCommand_Click(); });
    connectClick(Cancel_, [this] { Cancel_Click(2); });
    connectClick(Help_Command_, [this] { Help_Command_Click(); });
    connect(CommandDeutsch_, &QToolButton::clicked, this,
            [this] { Trap{log_}([this] { CommandDeutsch_Click(); }); });
    connect(commandEnglisch_, &QToolButton::clicked, this,
            [this] { Trap{log_}([this] { commandEnglisch_Click(); }); });

    deviceChangeTimer_->setSingleShot(true);
    deviceChangeTimer_->setInterval(services_.deviceChangeDelay);
    connect(deviceChangeTimer_, &QTimer::timeout, this, [this] { followDeviceChange(); });

    Form_Load();
    // Each change restarts the quiet time, so a burst is followed once.
    if (services_.deviceMonitor)
        services_.deviceMonitor->start([this] { deviceChangeTimer_->start(); });
}

Form1::~Form1() {
    if (!ended_) Form_Terminate();
}

void Form1::connectClick(QPushButton* button, std::function<void()> handler) {
    // No failure may cross the event loop; the handlers that trap never let one out, the
    // others are reported here.
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { Trap{log_}(handler); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DeviceList_->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            // A double click is one click and one double click: the release that ends it
            // is no click of its own (it would enable Open again after a failed opening).
            if (std::exchange(releaseEndsDoubleClick_, false)) return false;
            Trap{log_}([this] { DeviceList_Click(); });
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            releaseEndsDoubleClick_ = true;
            Trap{log_}([this] { DeviceList_DblClick(); });
            // Handled here: the view would take a double click on a list that the handler
            // rebuilt for a fresh press and select the row again.
            return true;
        } else if (event->type() == QEvent::MouseButtonPress) {
            releaseEndsDoubleClick_ = false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_Load() {
    const Language start = startupLanguage(services_.locale);
    if (start.offset == kOffsetGerman)
        CommandDeutsch_Click();
    else
        commandEnglisch_Click();
    language_.code = start.code;
    setWindowTitle(QStringLiteral("%1 v%2.%3 - Tavrel R/C USB-Interface Config")
                       .arg(QString::fromLatin1(kProgramTitle))
                       .arg(kVersionMajor)
                       .arg(kVersionMinor));
    log_.start(openEventLogFile(services_.programFolder, services_.stateFolder));
    log_.logI(std::string("App Start v") + kVersionText);
    Refresh_Click(0);
}

void Form1::Refresh_Click(int16_t /*index*/) {
    const Trap trap(log_);
    log_.logI("entering Form1.Refresh_Click()");
    OpenDev_->setEnabled(true);
    OpenDev2_->setEnabled(false);
    Console_Command_->setEnabled(false);
    DeviceList_->clear();
    int16_t count = 0;
    trap([&] { count = GetDevices(); });
    table_.setDeviceCount(count);
    trap([&] {
        for (int slot = 0; slot < table_.deviceCount(); ++slot) {
            const DeviceRow& r = table_.row(slot);
            auto* item = new QTreeWidgetItem(DeviceList_);
            item->setText(0, tableText(r.deviceName));
            item->setText(1, tableText(r.manufacturer));
            item->setText(2, tableText(r.vendorId));
            item->setText(3, tableText(r.productId));
            item->setText(4, tableText(r.serialNumber));
            item->setText(5, tableText(r.inputReportLen));
            item->setText(6, tableText(r.outputReportLen));
        }
    });
    log_.logI("exiting Form1.refresh_Click()");
}

int16_t Form1::GetDevices() {
    log_.logI("entering Form1.getDevices()");
    const int16_t count = table_.rebuild(services_.tavrel, Trap(log_));
    log_.logI("exiting Form1.getDevices()");
    return count;
}

std::string Form1::getProductID(int16_t slot) {
    log_.logI("entering Form1.getProductID(" + std::to_string(slot) + ")");
    std::string productId;
    Trap{log_}([&] { productId = table_.row(slot).productId; });
    log_.logI("exiting Form1.getProductID()");
    return productId;
}

int Form1::selectedListIndex() const {
    const auto selected = DeviceList_->selectedItems();
    if (selected.isEmpty())
        throw RuntimeFailure(failure::kObjectNotSet,
                             "Object variable or With block variable not set");
    return DeviceList_->indexOfTopLevelItem(selected.front()) + 1;
}

bool Form1::openSlot(int slot, bool refreshBetweenPasses, int* openError) {
    std::function<void()> betweenPasses;
    if (refreshBetweenPasses) betweenPasses = [this] { Refresh_Click(0); };
    return openWithRetries(
        Trap(log_),
        [&] {
            const int result = table_.openDeviceAt(services_.tavrel, slot);
            // Asked at once: the refresh between passes opens other devices.
            if (result != 1 && openError) *openError = services_.tavrel.GetOpenError();
            return result;
        },
        betweenPasses);
}

std::optional<int> Form1::openSelectedDevice() {
    const Trap trap(log_);
    int listIndex = 0;
    trap([&] { listIndex = selectedListIndex(); });
    const int slot = listIndex - 1;
    if (slot < 0) {
        services_.ui.messageBox(this,
                                MessageBoxRequest{"Invalid device index " + std::to_string(slot),
                                                  {},
                                                  MessageIcon::None,
                                                  MessageButtons::Ok});
        return std::nullopt;
    }
    int openError = 0;
    if (!openSlot(slot, true, &openError)) {
        // The user cannot tell a missing permission from a missing device: one message
        // with the fix.
        if (isPermissionError(openError))
            services_.ui.messageBox(this, MessageBoxRequest{permissionMessage(language_.offset),
                                                            {},
                                                            MessageIcon::Exclamation,
                                                            MessageButtons::Ok});
        return std::nullopt;
    }
    return slot;
}

template <class Window> bool Form1::showDeviceWindow(Window& window, int slot) {
    const Trap trap(log_);
    trap([&] { window.setDeviceValues(table_.valuesAt(slot)); });
    trap([&] { window.updateLocalization(); });
    ++deviceWindowsShown_;
    const bool shown = trap([&] { services_.ui.showModal(&window); });
    deviceWindowClosed();
    return shown;
}

void Form1::deviceWindowClosed() {
    --deviceWindowsShown_;
    if (deviceWindowsShown_ == 0 && deviceChangePending_) {
        deviceChangePending_ = false;
        followDeviceChange();
    }
}

void Form1::followDeviceChange() {
    if (ended_) return;
    if (deviceWindowsShown_ > 0) {
        deviceChangePending_ = true;
        return;
    }
    std::optional<DeviceIdentity> selected;
    try {
        selected = identityAt(table_, selectedListIndex() - 1);
    } catch (const RuntimeFailure&) {
        // nothing selected
    }
    const bool openEnabled = OpenDev2_->isEnabled();
    const bool consoleEnabled = Console_Command_->isEnabled();
    log_.logI("Device change: the device list follows");
    Refresh_Click(0);
    log_.logI("Device change: " + listedDevices(table_));
    const std::optional<int> slot = selected ? slotOf(table_, *selected) : std::nullopt;
    if (!slot) return;
    DeviceList_->setCurrentItem(DeviceList_->topLevelItem(*slot));
    // The buttons stay as the user left them for the selected device.
    OpenDev2_->setEnabled(openEnabled);
    Console_Command_->setEnabled(consoleEnabled);
}

void Form1::OpenDev2_Click(int16_t index) {
    log_.logI("entering Form1.OpenDev2_Click(" + std::to_string(index) + ")");
    // The window loads only for an opened device: its loading prepares the joystick monitor.
    if (const auto slot = openSelectedDevice()) {
        std::optional<Dialog2> window;
        Trap{log_}([&] { window.emplace(context_, this); });
        if (window) {
            connect(&*window, &Dialog2::firmwareVersionRead, this, &Form1::onFirmwareVersionRead);
            connect(&*window, &Dialog2::programEndRequested, this, &Form1::endProgram);
            // A new interface: until it answers with its version, 0.0.0 is the version of
            // the last interface opened in the configuration dialog.
            firmware_ = FirmwareVersion{};
            showDeviceWindow(*window, *slot);
            if (window->fwMajor() != 0 || window->fwMinor() != 0 || window->fwRevision() != 0)
                firmware_ =
                    FirmwareVersion{window->fwMajor(), window->fwMinor(), window->fwRevision()};
        }
    }
    log_.logI("exiting Form1.OpenDev2_Click()");
}

void Form1::onFirmwareVersionRead(int major, int minor, int revision) {
    ProductIDTextBox_->setText(QString::number(major));
    VendorIDTextBox_->setText(QString::number(minor));
    firmware_ = FirmwareVersion{major, minor, revision};
}

void Form1::Console_Command_Click() {
    log_.logI("entering Form1.Console_Command_Click()");
    if (const auto slot = openSelectedDevice()) {
        std::optional<Dialog1> window;
        Trap{log_}([&] { window.emplace(context_, this); });
        if (window) showDeviceWindow(*window, *slot);
    }
    log_.logI("exiting Form1.Console_Command_Click()");
}

void Form1::OpenDev_Click(int16_t /*index*/) {
    log_.logI("entering Form1.OpenDev_Click()");
    const Trap trap(log_);
    Dialog window(context_, *this, this);
    trap([&] { window.Timer1().start(); });
    trap([&] { window.updateLocalization(); });
    ++deviceWindowsShown_;
    trap([&] { services_.ui.showModal(&window); });
    deviceWindowClosed();
    log_.logI("exiting Form1.OpenDev_Click()");
}

std::optional<int> Form1::findDevice(long productId) {
    Refresh_Click(0);
    const int16_t count = GetDevices();
    for (int16_t slot = 0; slot < count; ++slot)
        if (tableNumber(getProductID(slot)) == productId) return slot;
    return std::nullopt;
}

std::optional<DeviceValues> Form1::openDevice(int slot) {
    log_.logI("entering Form1.SetValuesInFirmwareDlg(" + std::to_string(slot + 1) + ")");
    const Trap trap(log_);
    std::optional<DeviceValues> values;
    if (slot < 0) {
        services_.ui.messageBox(this,
                                MessageBoxRequest{"Invalid device index " + std::to_string(slot),
                                                  {},
                                                  MessageIcon::None,
                                                  MessageButtons::Ok});
    } else if (openSlot(slot, false)) {
        trap([&] { values = table_.valuesAt(slot); });
    }
    log_.logI("exiting Form1.SetValuesInFirmwareDlg()");
    return values;
}

void Form1::DeviceList_Click() {
    log_.logI("entering Form1.DeviceList_Click()");
    if (table_.deviceCount() > 0) {
        OpenDev2_->setEnabled(true);
        OpenDev_->setEnabled(true);
        Console_Command_->setEnabled(true);
    }
    log_.logI("exiting Form1.DeviceList_Click()");
}

void Form1::DeviceList_DblClick() {
    log_.logI("entering Form1.DeviceList_DblClick()");
    OpenDev2_Click(0);
    log_.logI("exiting Form1.DeviceList_DblClick()");
}

void Form1::Help_Command_Click() {
    log_.logI("entering Form1.Help_Command_Click()");
    const Trap trap(log_);
    trap([&] {
        frmAbout box(context_, this);
        services_.ui.showModal(&box);
    });
    log_.logI("exiting Form1.Help_Command_Click()");
}

void Form1::commandAktualisieren_Click(int16_t /*index*/) {
    Refresh_Click(0);
}

void Form1::UpdatesCommand_Click() {
    // Every step is skipped silently when it fails; nothing is logged.
    UpdateCheck check;
    check.languageCode = language_.code;
    check.openFirstText = openFirstText_;
    check.firmware = firmware_;
    check.languageOffset = language_.offset;
    try {
        const int slot = selectedListIndex() - 1;
        if (slot >= 0 && slot < table_.deviceCount()) check.selected = &table_.row(slot);
    } catch (const RuntimeFailure&) {
        // No selection: the address goes without the device part.
    }
    try {
        runUpdateCheck(check, services_.ui, services_.urlOpener, this);
    } catch (const std::exception&) {
    }
}

void Form1::Cancel_Click(int16_t /*index*/) {
    log_.logI("App Exit");
    endProgram();
}

void Form1::endProgram() {
    ended_ = true;
    hide();
    if (services_.endProgram)
        services_.endProgram();
    else
        QCoreApplication::exit(0);
}

void Form1::Form_Terminate() {
    log_.logI("App Terminated");
}

void Form1::CommandDeutsch_Click() {
    language_.offset = kOffsetGerman;
    qtTranslations_.use(kOffsetGerman);
    updateLocalization(kOffsetGerman);
}

void Form1::commandEnglisch_Click() {
    language_.offset = kOffsetEnglish;
    qtTranslations_.use(kOffsetEnglish);
    updateLocalization(kOffsetEnglish);
}

void Form1::updateLocalization(int offset) {
    Devices_->setText(qtext(localized(text_id::kDeviceListHint, offset)));
    OpenDev2_->setText(qtext(localized(text_id::kOpenButton, offset)));
    OpenDev_->setText(qtext(localized(text_id::kFirmwareButton, offset)));
    Console_Command_->setText(qtext(localized(text_id::kHidConsoleButton, offset)));
    commandAktualisieren_->setText(qtext(localized(text_id::kRefreshButton, offset)));
    UpdatesCommand_->setText(qtext(localized(text_id::kSearchUpdatesButton, offset)));
    Cancel_->setText(qtext(localized(text_id::kCloseButton, offset)));
    openFirstText_ = localized(text_id::kOpenInterfaceFirst, offset);
    // The two fields carry no label: the tooltip says what they hold.
    ProductIDTextBox_->setToolTip(qtext(localized(text_id::kFirmwareMajorTip, offset)));
    VendorIDTextBox_->setToolTip(qtext(localized(text_id::kFirmwareMinorTip, offset)));
}

} // namespace orvane
