// A configuration dialog with answering UI services, a silent library and a chosen
// operating system, and access to its controls by name.
#ifndef ORVANE_TESTS_CONFIG_DIALOG_FIXTURE_H
#define ORVANE_TESTS_CONFIG_DIALOG_FIXTURE_H

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "config/Dialog2.h"
#include "device/tavrel_api.h"
#include "shell/app_context.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_ui_services.h"

#include "shell/event_log.h"

// The dialog never writes to the event log; the context needs one all the same.
namespace orvane::test {
inline std::unique_ptr<EventLog> makeTestEventLog(UiServices& ui) {
    return std::make_unique<EventLog>(ui, [] { return std::string(); });
}
} // namespace orvane::test

namespace orvane::test {

// A library with no device: every transfer fails.
class SilentTavrel : public TavrelApi {
public:
    int closeReads = 0;
    int closeWrites = 0;
    int32_t GetList(uint32_t, uint32_t, const char*, const char*, const char*, DeviceListEntry*,
                    int32_t) override {
        return 0;
    }
    int32_t Open(uint32_t, uint32_t, const char*, const char*, const char*, int32_t) override {
        return 0;
    }
    void CloseRead() override { ++closeReads; }
    void CloseWrite() override { ++closeWrites; }
    void GetReportLengths(int32_t* in, int32_t* out) override { *in = *out = 0; }
    int32_t SetInstance(int32_t) override { return 0; }
    int32_t Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override { return -1; }
    int32_t ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>, int32_t) override {
        return -1;
    }
    int32_t Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override { return -1; }
};

class DialogTest : public ::testing::Test {
protected:
    Language language;
    SilentTavrel tavrel;
    FakeUiServices ui;
    FakeOsInfo os;
    std::unique_ptr<EventLog> log = makeTestEventLog(ui);
    FakeClock clock;
    FakeReportPort port{clock};
    AppContext context{language, tavrel, ui, os, *log, port, clock};
    std::unique_ptr<Dialog2> dialog;

    void SetUp() override { dialog = openDialog(); }

    // As the main window opens it: values, captions, then the load of the first show.
    std::unique_ptr<Dialog2> openDialog() {
        auto d = std::make_unique<Dialog2>(context);
        DeviceValues values;
        values.vendorId = 21375;
        values.productId = 25637;
        values.serialNumber = "0001";
        values.manufacturer = "Maker";
        values.deviceName = "RCUSBInterface";
        values.outputReportLen = 8;
        values.inputReportLen = 18;
        d->setDeviceValues(values);
        d->updateLocalization();
        d->Form_Load();
        return d;
    }

    template <typename W> W* control(const char* name) const {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QSlider* slider(const char* name) const { return control<QSlider>(name); }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    void click(const char* name) const { control<QAbstractButton>(name)->click(); }
    std::string text(const char* name) const { return field(name)->text().toStdString(); }
};

} // namespace orvane::test

#endif
