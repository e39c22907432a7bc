#include "firmware/Dialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <random>
#include <variant>

#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_file.h"
#include "firmware/core/hex_reader.h"
#include "resources/string_ids.h"
#include "resources/text_fill.h"
#include "resources/texts/shared_texts.h"
#include "shell/boot_loader_locator.h"
#include "shell/display_text.h"
#include "shell/event_log.h"
#include "shell/localization.h"
#include "shell/trap.h"
#include "shell/ui_services.h"

namespace orvane {

namespace {

constexpr std::array<const char*, 6> kOperationNames{"open_Command",  "program_Command",
                                                     "erase_Command", "verify_Command",
                                                     "reset_Command", "led_Command"};

constexpr const char* kOpenTitle = "Select a Firmware Download File in Intel Hex Format as Input";
// Without the blank that follows the pattern on Windows: the file dialog reads the
// patterns from the parentheses at the end of an entry.
constexpr const char* kPlainFilter = "Intel Hex File (*.hex)";
constexpr const char* kEncipheredFilter = "Encypted Firmware (*.enc)";
constexpr int kEncipheredFilterIndex = 2;

} // namespace

Dialog::Dialog(AppContext& context, BootLoaderLocator& locator, QWidget* parent)
    : QDialog(parent), context_(context), locator_(locator), Console_(new QPlainTextEdit(this)),
      BL_ProgressBar_(new QProgressBar(this)), CancelButton_(new QPushButton(this)),
      Timer1_(new QTimer(this)), cipher_(std::make_unique<firmware::SodiumFileCipher>()),
      fileKey1_(firmware::fileKey1()), link_(context.port, context.clock, *this),
      bootLoader_(link_, *this), random_(std::random_device{}()) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Waiting for Bootloader..."));
    Console_->setObjectName(QStringLiteral("Console"));
    Console_->setReadOnly(true);
    BL_ProgressBar_->setObjectName(QStringLiteral("BL_ProgressBar"));
    BL_ProgressBar_->setMinimum(0);
    BL_ProgressBar_->setValue(0);
    CancelButton_->setObjectName(QStringLiteral("CancelButton"));
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(250);

    auto* buttons = new QHBoxLayout;
    for (size_t i = 0; i < operationButtons_.size(); ++i) {
        operationButtons_[i] = new QPushButton(this);
        operationButtons_[i]->setObjectName(QString::fromLatin1(kOperationNames[i]));
        buttons->addWidget(operationButtons_[i]);
    }
    buttons->addWidget(CancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Console_);
    layout->addWidget(BL_ProgressBar_);
    layout->addLayout(buttons);
    setButtonsEnabled(false);

    connect(Timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(CancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(operationButtons_[kOpenButton], &QPushButton::clicked, this,
            [this] { open_Command_Click(); });
    connectUpdateButtons();
    // A closed dialog detects nothing any more.
    connect(this, &QDialog::finished, Timer1_, &QTimer::stop);
}

Dialog::~Dialog() = default;

void Dialog::setDeviceValues(const DeviceValues& values) {
    values_ = values;
}

void Dialog::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : operationButtons_)
        b->setEnabled(enabled);
}

void Dialog::updateLocalization() {
    const int offset = context_.language.offset;
    // In the order of the buttons.
    constexpr std::array<int, 6> kOperationTexts{text_id::kOpenFileButton, text_id::kProgramButton,
                                                 text_id::kEraseButton,    text_id::kVerifyButton,
                                                 text_id::kResetButton,    text_id::kLedButton};
    static_assert(kOperationTexts.size() == std::tuple_size_v<decltype(operationButtons_)>);
    for (size_t i = 0; i < operationButtons_.size(); ++i)
        operationButtons_[i]->setText(
            QString::fromStdString(localized(kOperationTexts[i], offset)));
    CancelButton_->setText(QString::fromStdString(localized(text_id::kCancelButton, offset)));
    Console_->setPlainText(
        QString::fromStdString(localized(text_id::kConnectInterfaceNow, offset) + "\n" +
                               localized(text_id::kReconnectIfConnected, offset) + "\n" +
                               localized(text_id::kBootLoaderMustBeActive, offset)));
}

void Dialog::open_Command_Click() {
    context_.log.logI("entering Dialog.open_Command_Click()");
    Trap{context_.log}([&] { openFirmwareFile(); });
}

void Dialog::openFirmwareFile() {
    EventLog& log = context_.log;
    const int offset = context_.language.offset;
    FileDialogRequest request;
    request.title = kOpenTitle;
    request.filter = std::string(kPlainFilter) + ";;" + kEncipheredFilter;
    const OpenFileChoice choice = context_.ui.openFile(this, request);
    if (choice.name.empty()) return;
    const std::string& name = choice.name;

    auto read = firmware::readFirmwareFile(name);
    if (const auto* failure = std::get_if<firmware::FileFailure>(&read)) {
        refuse(localizedText(text_id::kCannotReadFile, offset, {name, failure->description}));
        return;
    }
    std::string content = std::move(std::get<std::string>(read));
    log.logI("passing Dialog.open_Command_Click() file opener");

    // The content tells whether a file is enciphered; the filter only says what the user
    // meant to open, so a mismatch is explained instead of loading garbage.
    const bool enciphered = cipher_->looksEnciphered(content);
    // The twin "..encrypt.me.._enc" carries the mark in its name too; it is loaded, not
    // enciphered a second time.
    if (name.find("encrypt.me") != std::string::npos && !enciphered) {
        encipherFile(name);
        return;
    }
    if (choice.filterIndex == kEncipheredFilterIndex) {
        if (!enciphered) {
            // Only a plain HEX file is helped by the other filter; anything else (another
            // program's enciphered file, a damaged one) cannot be deciphered here at all.
            if (firmware::looksLikeIntelHex(content))
                refuse(localizedText(text_id::kNotEnciphered, offset, {name, kPlainFilter}));
            else
                refuse(localizedText(text_id::kNotOurEncipherment, offset, {name}));
            return;
        }
        log.logI("entering Dialog.DA()");
        try {
            content = firmware::DecryptArray(*cipher_, firmware::kFirmwareSelector, content,
                                             fileKey1_, firmware::fileKey2());
        } catch (const firmware::FileCipherError& e) {
            refuse(localizedText(text_id::kFileRefusedBecause, offset, {name, e.what()}));
            return;
        }
        log.logI("exiting Dialog.DA()");
    } else if (enciphered) {
        refuse(localizedText(text_id::kIsEnciphered, offset, {name, kEncipheredFilter}));
        return;
    }
    loadImage(name, content);
}

void Dialog::encipherFile(const std::string& name) {
    EventLog& log = context_.log;
    const int offset = context_.language.offset;
    log.logI("entering Dialog.EncryptFile()");
    const auto result = firmware::EncryptFile(*cipher_, firmware::kFirmwareSelector, name,
                                              name + "_enc", true, fileKey1_, firmware::fileKey2());
    if (!result.written) {
        refuse(result.failure.empty() ? localizedText(text_id::kCannotEncipher, offset, {name})
                                      : result.failure + ".");
        return;
    }
    log.logI("exiting Dialog.EncryptFile()");
    appendConsole("done");
}

void Dialog::loadImage(const std::string& name, std::string_view content) {
    EventLog& log = context_.log;
    const int offset = context_.language.offset;
    appendConsole("parsing " + name + "...  ");
    log.logI("passing Dialog.open_Command_Click() memory initialization");
    log.logI("passing Dialog.open_Command_Click() file parser");
    // Parsed into a fresh image: the dialog's image changes only when the whole file is good.
    auto parsed = firmware::readIntelHex(content);
    if (const auto* error = std::get_if<firmware::HexError>(&parsed)) {
        refuse(localizedText(text_id::kFileRefusedNothingLoaded, offset, {error->describe()}));
        return;
    }
    const auto& file = std::get<firmware::HexFile>(parsed);
    log.logI("passing Dialog.open_Command_Click() progress bar preparation");
    memoryImage_ = file.image;
    const std::size_t lines = memoryImage_.filledLineCount();
    const std::string records = std::to_string(file.records);
    const std::string leftOut =
        file.bytesLeftOut == 0
            ? std::string()
            : localizedText(text_id::kBytesLeftOut, offset, {std::to_string(file.bytesLeftOut)});
    if (lines > 0) {
        BL_ProgressBar_->setMaximum(static_cast<int>(lines));
        operationButtons_[kEraseButton]->setEnabled(true);
        operationButtons_[kVerifyButton]->setEnabled(true);
        operationButtons_[kProgramButton]->setEnabled(true);
        appendConsole(" " + records + " lines ok.\r\n" + leftOut);
        log.logI("exiting Dialog.open_Command_Click()");
    } else {
        appendConsole(" " + records + " lines, nothing parsed!\r\n" + leftOut);
        operationButtons_[kVerifyButton]->setEnabled(false);
        operationButtons_[kProgramButton]->setEnabled(false);
    }
}

void Dialog::appendConsole(std::string_view text) {
    Console_->moveCursor(QTextCursor::End);
    Console_->insertPlainText(displayText(text));
    Console_->moveCursor(QTextCursor::End);
}

void Dialog::refuse(const std::string& reason) {
    appendConsole(reason + "\r\n");
    context_.log.logW(reason);
    context_.ui.messageBox(
        this, MessageBoxRequest{reason, {}, MessageIcon::Exclamation, MessageButtons::Ok});
}

} // namespace orvane
