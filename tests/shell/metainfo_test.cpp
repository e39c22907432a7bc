// The metainfo tells software centres which hardware the program is for, and which release
// this is.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "device/known_devices.h"
#include "program_version.h"

namespace orvane::test {
namespace {

std::string metainfo() {
    std::ifstream in(std::string(ORVANE_PACKAGING_DIR) + "/org.orvane.Orvane.metainfo.xml");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Metainfo, ProvidesEveryKnownInterfaceAsModalias) {
    const std::string text = metainfo();
    ASSERT_FALSE(text.empty());
    for (const KnownDevice& d : knownDeviceTable) {
        char alias[64];
        std::snprintf(alias, sizeof alias, "<modalias>usb:v%04Xp%04Xd*</modalias>", d.vendorId,
                      d.productId);
        EXPECT_NE(text.find(alias), std::string::npos) << alias;
    }
}

TEST(Metainfo, NewestReleaseIsThisVersion) {
    const std::string text = metainfo();
    const std::string tag = "<release version=\"";
    const auto at = text.find(tag);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at + tag.size(), text.find('"', at + tag.size()) - at - tag.size()),
              kVersionText);
}

} // namespace
} // namespace orvane::test
