// HID console: raw report exchange with one device. This window shows the device it was
// given; the report exchange itself is still to come.
#ifndef ORVANE_CONSOLE_DIALOG1_H
#define ORVANE_CONSOLE_DIALOG1_H

#include <QDialog>

#include "app/core/app_context.h"

class QLineEdit;
class QPushButton;

namespace orvane {

class Dialog1 : public QDialog {
    Q_OBJECT
public:
    explicit Dialog1(AppContext& context, QWidget* parent = nullptr);

    // The seven values of the opened device, set by the main window before showing.
    void setDeviceValues(const DeviceValues& values);
    const DeviceValues& deviceValues() const { return values_; }
    void updateLocalization();

private:
    void CancelButton_Click();

    AppContext& context_;
    DeviceValues values_;
    QLineEdit* VendID_;
    QLineEdit* ProdID_;
    QLineEdit* DevName_;
    QLineEdit* SerNum_;
    QLineEdit* InRptLen_;
    QLineEdit* OutRptLen_;
    QPushButton* CancelButton_;
};

} // namespace orvane

#endif
