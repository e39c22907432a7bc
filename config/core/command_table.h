// The interface's configuration commands: requests are report 0xF9 with the prefix
// 00 08 15 EE, a command code and two value bytes; answers to read commands are report 0xF9
// carrying the command's code and the data. How each item of the configuration record is
// written and how each answer fills the record.
#ifndef ORVANE_CONFIG_CORE_COMMAND_TABLE_H
#define ORVANE_CONFIG_CORE_COMMAND_TABLE_H

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/core/configuration.h"

namespace orvane::config {

inline constexpr uint8_t kConfigReportId = 0xF9;
inline constexpr std::array<uint8_t, 4> kCommandPrefix = {0x00, 0x08, 0x15, 0xEE};

// Mode commands, as request texts from byte 1 on.
inline constexpr std::string_view kEnterProgrammingMode = "00 08 15 EE 01 00 00";
inline constexpr std::string_view kExitProgrammingMode = "00 08 15 EE FF 00 00";
inline constexpr std::string_view kExitAndSave = "00 08 15 EE FF 01 00";

// The read commands in the order a full read sends them.
inline constexpr std::array<uint8_t, 18> kReadCodes = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15,
                                                       0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,
                                                       0x1C, 0x1D, 0x1E, 0x1F, 0xA0, 0xA1};
inline constexpr uint8_t kVersionCode = 0x1C;
inline constexpr uint8_t kDecodingModeCode = 0x1D;

bool isReadCode(uint8_t code);
// "00 08 15 EE 10 00 00" for code 0x10.
std::string readRequestText(uint8_t code);

// The read command a request carries (report 0xF9, the prefix, a read code), if any.
std::optional<uint8_t> readCommandOf(std::span<const uint8_t> request);

// Byte 1 of the interface's refusal: F9 EE code v1 v2.
inline constexpr uint8_t kRefusalCode = 0xEE;

// Is this input report the answer to that request? The answer to a read command is the
// 0xF9 report with the command's code, or the refusal of that code; any 0xF9 report
// answers other requests.
bool answersRequest(std::span<const uint8_t> request, std::span<const uint8_t> report);
// Is the answer the interface's refusal of the request?
bool isRefusal(std::span<const uint8_t> answer);

struct FirmwareVersion {
    int major = 0;
    int minor = 0;
    int revision = 0; // 0..65535
    bool operator==(const FirmwareVersion&) const = default;
};

// Firmware that has the mixers (1.2 on) and the decoding mode (1.3 on).
bool supportsMixers(const FirmwareVersion& version);
bool supportsDecodingMode(const FirmwareVersion& version);
// Does that firmware have the command (mixer codes from 1.2, decoding-mode codes from 1.3)?
bool firmwareHasCode(const FirmwareVersion& version, uint8_t code);
// "major.minor", as the user knows a firmware: "1.1".
std::string firmwareText(const FirmwareVersion& version);
// What that firmware lacks of the configuration: "mixers, decoding mode"; empty: nothing.
std::string itemsFirmwareLacks(const FirmwareVersion& version);

struct AnswerEffect {
    bool decoded = false; // the answer's code is in the table
    std::optional<FirmwareVersion> version;
    // Values the interface cannot hold (a channel nibble outside 1..8, a decoding mode above
    // 1), each as "axis 3 channel 0"; those items keep their values.
    std::vector<std::string> impossible;
};

// Fills the record from an answer (report id first). Reports that are no answer of the
// configuration protocol, and unknown codes, change nothing.
AnswerEffect decodeAnswer(std::span<const uint8_t> answer, Configuration& record);

// The write requests of a whole transmission, each as a request text from byte 1 on, in
// the order they are sent (without the programming mode around them).
std::string bootloaderRequestText(bool enable);
std::string axisChannelRequestText(int axis, const Configuration& record);
std::string axisInvertRequestText(const Configuration& record);
std::string buttonChannelRequestText(int button, const Configuration& record);
std::string buttonFlagsRequestText(const Configuration& record);
std::string thresholdRequestText(int button, const Configuration& record);
// One of the 25 mixer and decoding-mode requests, codes 20..38 in order.
std::string mixerRequestText(uint8_t code, const Configuration& record);

} // namespace orvane::config

#endif
