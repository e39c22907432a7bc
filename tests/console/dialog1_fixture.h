// A HID console on a library that keeps count of the handles it holds open, and a scripted
// device behind the report port.
#ifndef ORVANE_TESTS_CONSOLE_DIALOG1_FIXTURE_H
#define ORVANE_TESTS_CONSOLE_DIALOG1_FIXTURE_H

#include <QAbstractButton>
#include <QLineEdit>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "console/Dialog1.h"
#include "device/tavrel_api.h"
#include "shell/app_context.h"
#include "shell/event_log.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_ui_services.h"

namespace orvane::test {

// Like a library that does not let go of a replaced handle: a second Open without closing
// first leaves the earlier handles open for good.
class HandleCountingTavrel : public TavrelApi {
public:
    bool openable = true;
    int openReads = 0;
    int openWrites = 0;
    int32_t lastOverlapped = 0;
    std::string lastManufacturer, lastSerial, lastProduct;

    int32_t GetList(uint32_t, uint32_t, const char*, const char*, const char*, DeviceListEntry*,
                    int32_t) override {
        return 0;
    }
    int32_t Open(uint32_t, uint32_t, const char* manufacturer, const char* serial,
                 const char* product, int32_t overlapped) override {
        lastOverlapped = overlapped;
        lastManufacturer = manufacturer;
        lastSerial = serial;
        lastProduct = product;
        if (!openable) return 0;
        ++openReads;
        ++openWrites;
        holdsRead_ = holdsWrite_ = true;
        return 1;
    }
    void CloseRead() override {
        if (holdsRead_) --openReads;
        holdsRead_ = false;
    }
    void CloseWrite() override {
        if (holdsWrite_) --openWrites;
        holdsWrite_ = false;
    }
    void GetReportLengths(int32_t* in, int32_t* out) override { *in = *out = 0; }
    int32_t SetInstance(int32_t) override { return 1; }
    int32_t Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override { return -1; }
    int32_t ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>, int32_t) override {
        return -1;
    }
    int32_t Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override { return -1; }

private:
    bool holdsRead_ = false;
    bool holdsWrite_ = false;
};

class ConsoleTest : public ::testing::Test {
protected:
    Language language;
    HandleCountingTavrel tavrel;
    FakeUiServices ui;
    FakeOsInfo os;
    EventLog log{ui, [] { return std::string(); }};
    FakeClock clock;
    FakeReportPort port{clock};
    AppContext context{language, tavrel, ui, os, log, port, clock};
    std::unique_ptr<Dialog1> dialog;

    // As the main window does it: the device opened, values, captions, then the first show.
    void load(int outputLength = 8, int inputLength = 18) {
        tavrel.Open(21375, 25637, "Tavrel", "0001", "ZT2960", 0);
        dialog = std::make_unique<Dialog1>(context);
        DeviceValues values;
        values.vendorId = 21375;
        values.productId = 25637;
        values.serialNumber = "0001";
        values.manufacturer = "Tavrel";
        values.deviceName = "ZT2960";
        values.outputReportLen = outputLength;
        values.inputReportLen = inputLength;
        dialog->setDeviceValues(values);
        dialog->updateLocalization();
        dialog->show();
    }

    QLineEdit* field(const char* name) const {
        auto* w = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAbstractButton* button(const char* name) const {
        auto* w = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::string text(const char* name) const { return field(name)->text().toStdString(); }
    void type(const char* reportId, const char* data) const {
        field("OutputReportID")->setText(QString::fromLatin1(reportId));
        field("WriteBuffer")->setText(QString::fromLatin1(data));
    }
    std::string status() const { return dialog->statusText().toStdString(); }
    std::string console() const { return dialog->consoleText().toStdString(); }
};

} // namespace orvane::test

#endif
