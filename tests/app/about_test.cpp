#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "about/about_texts.h"
#include "about/frmAbout.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_tavrel_api.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

struct AboutFixture : LogFixture {
    Language language;
    FakeOsInfo os;
    FakeTavrelApi tavrel;
    FakeClock clock;
    FakeReportPort port{clock};
    AppContext context{language, tavrel, ui, os, log, port, clock};

    std::vector<std::string> messages() const {
        std::vector<std::string> m;
        for (const auto& e : entries)
            m.push_back(e.text.substr(e.text.find("\r\n") + 2));
        return m;
    }
};

TEST(AboutTexts, RevisionHistoryLineByLine) {
    const std::string text = revisionHistoryText();
    EXPECT_EQ(text, "Revision History:\r\n\r\n"
                    "2.3.53  (7. 2026)\r\n"
                    " - fixed runtime error in FW dialog if several devices connected\r\n\r\n"
                    "2.3  (6. 2007)\r\n"
                    " - added logging for error tracing\r\n"
                    " - added axis monitoring via DirectX with better response time\r\n"
                    " - added selection of transmitter signal type\r\n"
                    " - added Auto-Search for Updates via Internet\r\n\r\n"
                    "2.2  (2. 2007)\r\n"
                    " - added R/C channel mixers for Inteface\r\n"
                    " - added saving Orvane settings in files\r\n\r\n"
                    "2.1  (12. 2006)\r\n"
                    " - fixed overflow with large firmware files\r\n\r\n"
                    "2.0  (7. 2006)\r\n"
                    " - added booloader for USB-Vexa 3\r\n"
                    " - added HID Console\r\n"
                    " - added joystick axis and button monitor\r\n\r\n"
                    "1.0  (7. 2005)\r\n"
                    " - initial release");
}

TEST(AboutTexts, CaptionTitleVersion) {
    EXPECT_EQ(aboutCaption(), "About Orvane");
    EXPECT_EQ(aboutTitleText(), "Orvane\r\nR/C USB-Interface Configuration Tool");
    EXPECT_EQ(aboutVersionText(), "Version 2.3.55");
    const std::string d = aboutDescriptionText();
    EXPECT_NE(d.find("\r\n"), std::string::npos);
}

TEST(AboutBox, LoadsItsControlsAndLogsTheLoad) {
    AboutFixture fx;
    frmAbout box(fx.context);
    EXPECT_EQ(box.objectName(), "frmAbout");
    EXPECT_EQ(box.windowTitle(), "About Orvane");
    EXPECT_EQ(box.findChild<QLabel*>("lblTitle")->text(),
              "Orvane\nR/C USB-Interface Configuration Tool");
    EXPECT_EQ(box.findChild<QLabel*>("lblVersion")->text(), "Version 2.3.55");
    EXPECT_EQ(box.findChild<QPlainTextEdit*>("revisionBox")->toPlainText().split('\n').size(), 25);
    EXPECT_EQ(box.findChild<QAbstractButton*>("cmdOK")->text(), "OK");
    EXPECT_EQ(box.findChild<QAbstractButton*>("cmdSysInfo")->text(), "&Systeminfo...");
    EXPECT_EQ(box.findChild<QLabel*>("picIcon")->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(fx.messages(), (std::vector<std::string>{"entering frmAbout.Form_Load()",
                                                       "exiting frmAbout.Form_Load()"}));
}

TEST(AboutBox, SystemInformationIsUnavailableWithoutAnExitLine) {
    AboutFixture fx;
    frmAbout box(fx.context);
    fx.entries.clear();
    box.findChild<QAbstractButton*>("cmdSysInfo")->click();
    ASSERT_EQ(fx.ui.messages.size(), 1u);
    EXPECT_EQ(fx.ui.messages[0].text, "Systeminformationen sind momentan nicht verf\xC3\xBCgbar");
    EXPECT_EQ(fx.ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(fx.messages(), std::vector<std::string>{"entering frmAbout.StartSysInfo()"});
}

TEST(AboutBox, OkClosesAndLogsBothLines) {
    AboutFixture fx;
    frmAbout box(fx.context);
    box.show();
    fx.entries.clear();
    box.findChild<QAbstractButton*>("cmdOK")->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_EQ(fx.messages(), (std::vector<std::string>{"entering frmAbout.cmdOK_Click()",
                                                       "exiting frmAbout.cmdOK_Click()"}));
}

} // namespace
} // namespace orvane::test
