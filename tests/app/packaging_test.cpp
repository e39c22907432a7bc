// The udev rule must let the user open every interface the main window knows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/known_devices.h"

namespace orvane::test {
namespace {

std::string hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

TEST(UdevRule, CoversEveryKnownInterface) {
    std::ifstream in(std::string(ORVANE_PACKAGING_DIR) + "/70-orvane.rules");
    ASSERT_TRUE(in);
    std::vector<std::string> rules;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line.front() != '#') rules.push_back(line);
    for (const KnownDevice& d : knownDeviceTable) {
        const std::string vendor = "ATTRS{idVendor}==\"" + hex4(d.vendorId) + "\"";
        const std::string product = "ATTRS{idProduct}==\"" + hex4(d.productId) + "\"";
        bool covered = false;
        for (const std::string& rule : rules)
            covered = covered || (rule.find("uaccess") != std::string::npos &&
                                  rule.find(vendor) != std::string::npos &&
                                  (rule.find("idProduct") == std::string::npos ||
                                   rule.find(product) != std::string::npos));
        EXPECT_TRUE(covered) << hex4(d.vendorId) << ":" << hex4(d.productId);
    }
}

} // namespace
} // namespace orvane::test
