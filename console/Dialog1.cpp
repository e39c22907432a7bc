#include "console/Dialog1.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/core/localization.h"
#include "app/core/tavrel_api.h"

namespace orvane {

namespace {

QLineEdit* valueField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

Dialog1::Dialog1(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), VendID_(valueField(this, "VendID")),
      ProdID_(valueField(this, "ProdID")), DevName_(valueField(this, "DevName")),
      SerNum_(valueField(this, "SerNum")), InRptLen_(valueField(this, "InRptLen")),
      OutRptLen_(valueField(this, "OutRptLen")), CancelButton_(new QPushButton(this)) {
    setObjectName(QStringLiteral("Dialog1"));
    setWindowTitle(QStringLiteral("HID Console"));
    CancelButton_->setObjectName(QStringLiteral("CancelButton"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("VendorID:"), VendID_);
    form->addRow(QStringLiteral("ProductID:"), ProdID_);
    form->addRow(QStringLiteral("Device Name:"), DevName_);
    form->addRow(QStringLiteral("Serial Number:"), SerNum_);
    form->addRow(QStringLiteral("Inut Report Len:"), InRptLen_);
    form->addRow(QStringLiteral("Output Report Len:"), OutRptLen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(CancelButton_, 0, Qt::AlignRight);

    connect(CancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
}

void Dialog1::setDeviceValues(const DeviceValues& values) {
    values_ = values;
    VendID_->setText(QString::number(values.vendorId));
    ProdID_->setText(QString::number(values.productId));
    DevName_->setText(QString::fromStdString(values.deviceName));
    SerNum_->setText(QString::fromStdString(values.serialNumber));
    InRptLen_->setText(QString::number(values.inputReportLen));
    OutRptLen_->setText(QString::number(values.outputReportLen));
}

void Dialog1::updateLocalization() {
    CancelButton_->setText(QString::fromStdString(localized(15, context_.language.offset)));
}

void Dialog1::CancelButton_Click() {
    // The device that the main window opened for this window is closed with it.
    try {
        context_.tavrel.CloseRead();
        context_.tavrel.CloseWrite();
    } catch (const std::exception&) {
        // The console reports nothing through the event log.
    }
    reject();
}

} // namespace orvane
