// The Signal tab against the scriptable port: every joystick report reaches the figures,
// those the dialog's exchanges read out of their way included; Pause freezes the picture,
// not the counting; Record writes the reports to a CSV file; Save Picture writes the chart.
#include "signal/signal_tab.h"

#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "report/exchange.h"
#include "shell/event_log.h"
#include "signal/strip_chart.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::signal {
namespace {

using namespace std::chrono_literals;
using test::Report;

Report joystick(uint8_t x, uint8_t buttons = 0) {
    Report r(18, 0);
    r[0] = 0x01;
    r[1] = x;
    r[2] = x; // X = x * 257
    r[17] = buttons;
    return r;
}

struct SignalTabTest : ::testing::Test {
    Language language;
    test::FakeTavrelApi tavrel;
    test::FakeUiServices ui;
    test::FakeOsInfo os;
    EventLog log{ui, [] { return std::string(); }};
    test::FakeClock clock;
    test::FakeReportPort port{clock};
    AppContext context{language, tavrel, ui, os, log, port, clock};
    test::TemporaryFolder folder;
    std::unique_ptr<SignalTab> tab = std::make_unique<SignalTab>(context, nullptr, Reading::ByCaller);

    void click(const char* name) { tab->findChild<QPushButton*>(name)->click(); }
    long reports() const { return tab->totals().reports; }
    // One configuration exchange, as the dialog runs it.
    bool exchange() {
        const report::ReportBuffer request{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10};
        report::ReportBuffer answer{};
        return report::exchange(port, clock, request, answer, [](auto r) { return r[0] == 0xF9; },
                                {.outputReportLength = 8, .inputReportLength = 18, .timeout = {}})
            .answered;
    }
};

TEST_F(SignalTabTest, EveryJoystickReportReachesTheFiguresWhoeverReadsIt) {
    port.stream(joystick(0x40), 10ms);
    clock.advance(50ms);
    tab->show();
    EXPECT_TRUE(tab->listening());
    EXPECT_EQ(reports(), 0) << "what queued before anybody listened has no arrival time";

    port.onRequest = test::answerAfter(25ms, [](const Report&) {
        return std::optional<Report>(Report{0xF9, 0x10});
    });
    clock.advance(30ms);
    tab->readQueued(); // the timer between exchanges
    for (int i = 0; i < 4; ++i) {
        clock.advance(15ms); // the window repaints between exchanges
        ASSERT_TRUE(exchange());
    }
    clock.advance(20ms);
    tab->readQueued();
    // 30 + 4 x (15 + 25) + 20 ms of a report every 10 ms; the answers are not joystick reports.
    EXPECT_EQ(reports(), 21);
    EXPECT_EQ(port.dropped, 0);
    EXPECT_EQ(tab->totals().axes[0].current, 0x4040);

    tab->hide(); // the dialog closes: the port is let go
    EXPECT_FALSE(tab->listening());
    EXPECT_EQ(port.listener(), nullptr);
}

TEST_F(SignalTabTest, PauseFreezesThePictureWhileCountingGoesOnAndClearForgets) {
    port.stream(joystick(0x10), 10ms);
    tab->show();
    clock.advance(100ms);
    tab->readQueued();
    tab->refreshChart(clock.now());
    ASSERT_EQ(tab->chart().samples().size(), 10u);

    click("SignalPause");
    clock.advance(100ms);
    tab->readQueued();
    tab->refreshChart(clock.now());
    EXPECT_EQ(tab->chart().samples().size(), 10u);
    EXPECT_EQ(reports(), 20);

    click("SignalPause");
    tab->refreshChart(clock.now());
    EXPECT_EQ(tab->chart().samples().size(), 20u);

    click("SignalClear");
    EXPECT_EQ(reports(), 0);
    EXPECT_TRUE(tab->chart().samples().empty());
}

TEST_F(SignalTabTest, RecordWritesEachReportAsALineOfTheCsvFile) {
    const auto file = folder.path() / "signal.csv";
    ui.saveNames.push_back(file.string());
    port.stream(joystick(0x80, 0x05), 10ms);
    tab->show();
    click("SignalRecord");
    ASSERT_TRUE(tab->recording());
    clock.advance(30ms);
    tab->readQueued();
    EXPECT_EQ(tab->recordedReports(), 3);
    click("SignalRecord");
    EXPECT_FALSE(tab->recording());

    std::ifstream in(file);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "time_ms,X,Y,Z,Rx,Ry,Rz,Sl,Di,B1,B2,B3,B4,B5,B6,B7,B8\r");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    // The fake clock does not move while the tab reads: all three came at 30 ms.
    EXPECT_EQ(lines[0], "30.000,32896,0,0,0,0,0,0,0,1,0,1,0,0,0,0,0\r");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SignalTabTest, FilesThatCannotBeWrittenAreToldAndNothingRecords) {
    const auto missing = folder.path() / "no-such-folder" / "x";
    ui.saveNames = {missing.string() + ".csv", missing.string() + ".png"};
    tab->show();
    click("SignalRecord");
    EXPECT_FALSE(tab->recording());
    click("SignalSavePicture");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[0].text.find(missing.string() + ".csv"), std::string::npos);
    EXPECT_NE(ui.messages[1].text.find(missing.string() + ".png"), std::string::npos);
}

TEST_F(SignalTabTest, SavePictureWritesTheChartAsPng) {
    const auto file = folder.path() / "chart.png";
    ui.saveNames.push_back(file.string());
    tab->resize(800, 600);
    tab->show();
    click("SignalSavePicture");
    QImage saved(QString::fromStdString(file.string()));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), tab->chart().size());
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace orvane::signal
