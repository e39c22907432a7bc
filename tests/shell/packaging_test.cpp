// The udev rule must let the user open every interface the main window knows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/known_devices.h"
#include "shell/permission_hint.h"
#include "ui/test_fixture.h"

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

// What the shell writes with the command's printf part, before it goes to sudo tee.
std::string printedByShell(const std::string& command) {
    const std::string printf = command.substr(0, command.find(" | sudo tee "));
    const TemporaryFolder folder;
    const std::string script = (folder.path() / "printf.sh").string();
    std::ofstream(script) << printf << "\n";
    std::string out;
    if (FILE* p = popen(("sh " + script).c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p))
            out += buffer;
        pclose(p);
    }
    return out;
}

// The permission message's command writes the installed rule's lines exactly, however
// they are quoted, and then makes udev apply them.
TEST(UdevRule, CommandWritesTheRuleLinesAndAppliesThem) {
    std::ifstream in(std::string(ORVANE_PACKAGING_DIR) + "/70-orvane.rules");
    std::stringstream file;
    file << in.rdbuf();
    std::string expected;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line.front() != '#') expected += line + "\n";
    const std::string command = udevRuleCommand(file.str(), "70-orvane.rules");
    EXPECT_EQ(printedByShell(command), expected);
    EXPECT_TRUE(command.ends_with("| sudo tee /etc/udev/rules.d/70-orvane.rules >/dev/null && "
                                  "sudo udevadm control --reload && "
                                  "sudo udevadm trigger --subsystem-match=hidraw"));
    EXPECT_NE(permissionMessage(1000).find(command), std::string::npos);

    const std::string quoted = "# comment\r\nA==\"it's\", B+=\"x y\"\r\n\r\n";
    EXPECT_EQ(printedByShell(udevRuleCommand(quoted, "x.rules")), "A==\"it's\", B+=\"x y\"\n");
}

} // namespace
} // namespace orvane::test
