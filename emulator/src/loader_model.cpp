#include "emulator/loader_model.h"

#include <algorithm>
#include <optional>

namespace emu {

namespace {

constexpr std::size_t kDataOffset = 6; // first data byte of read and write
// Bytes one read or write command may carry.
constexpr uint32_t kMaxBytesPerCommand = 16;
constexpr std::size_t kWorkLength = 22; // room for every answer before it is cut to length

uint32_t addressOf(std::span<const uint8_t> plain) {
    return plain[3] | (plain[4] << 8) | (plain[5] << 16);
}

// Leaves only the promised part of an answer: the version of a probe, the data of a read.
void keepPromised(std::vector<uint8_t>& answer, uint8_t command) {
    const auto c = static_cast<LoaderCommand>(command);
    const bool carriesData = answer[1] != kLoaderRefused &&
                             (c == LoaderCommand::Probe || c == LoaderCommand::Read ||
                              c == LoaderCommand::ReadEeprom || c == LoaderCommand::ReadConfig);
    std::fill(answer.begin() + 1, answer.begin() + kDataOffset, 0);
    if (!carriesData) std::fill(answer.begin() + kDataOffset, answer.end(), 0);
}

} // namespace

std::vector<uint8_t> LoaderState::factoryFlash() {
    std::vector<uint8_t> flash(kFlashSize);
    // Any fixed content will do; it only has to differ from erased flash.
    for (uint32_t a = 0; a < kFlashSize; ++a)
        flash[a] = static_cast<uint8_t>(a < kApplicationStart ? (a * 7 + 0x3F) : (a ^ (a >> 8)));
    return flash;
}

void LoaderModel::plugIn() {
    state_.link.reset(0);
    state_.led = false;
}

Reply LoaderModel::handle(std::span<const uint8_t> report) {
    if (report.size() < 2 || report[0] != kLoaderReportId) return {};
    const uint8_t command = report[1];
    if (command == static_cast<uint8_t>(LoaderCommand::Probe)) state_.link.reset(0);

    std::vector<uint8_t> plain(std::max(report.size(), kWorkLength), 0);
    std::copy(report.begin(), report.end(), plain.begin());
    for (std::size_t i = 2; i < report.size(); ++i)
        plain[i] = state_.link.decode(report[i]);

    Reply reply;
    std::vector<uint8_t> answer = execute(command, plain, reply);
    if (bareAnswers_) keepPromised(answer, command);
    answer.resize(static_cast<std::size_t>(inLen_));
    for (std::size_t i = 2; i < answer.size(); ++i)
        answer[i] = state_.link.encode(answer[i]);

    if (command == static_cast<uint8_t>(LoaderCommand::Probe)) state_.link.reset(kInitialChain);
    reply.answer = std::move(answer);
    reply.stateChanged = true; // the chains moved on
    return reply;
}

std::vector<uint8_t> LoaderModel::execute(uint8_t command, std::span<const uint8_t> plain,
                                          Reply& reply) {
    std::vector<uint8_t> a(kWorkLength, 0);
    a[0] = kLoaderReportId;
    a[1] = command;
    auto refuse = [&](Refusal why) {
        std::fill(a.begin() + 2, a.end(), 0);
        a[1] = kLoaderRefused;
        a[2] = command;
        a[3] = static_cast<uint8_t>(why);
        return a;
    };
    const uint32_t count = plain[2];
    const uint32_t address = addressOf(plain);
    std::copy_n(plain.begin() + 2, 4, a.begin() + 2); // count and address echoed

    // Reads and writes of count bytes inside [low, high).
    auto checkRange = [&](uint32_t low, uint32_t high) -> std::optional<Refusal> {
        if (count == 0 || count > kMaxBytesPerCommand) return Refusal::Count;
        if (address < low || address + count > high) return Refusal::Address;
        return std::nullopt;
    };
    auto readInto = [&](std::span<const uint8_t> memory, uint32_t low) {
        if (const auto why = checkRange(low, static_cast<uint32_t>(memory.size())))
            return refuse(*why);
        std::copy_n(memory.begin() + address, count, a.begin() + kDataOffset);
        return a;
    };
    auto writeFrom = [&](std::span<uint8_t> memory, uint32_t low, bool flash) {
        if (const auto why = checkRange(low, static_cast<uint32_t>(memory.size())))
            return refuse(*why);
        for (uint32_t k = 0; k < count; ++k) {
            const uint8_t data = plain[kDataOffset + k];
            memory[address + k] = flash ? static_cast<uint8_t>(memory[address + k] & data) : data;
        }
        return a;
    };

    switch (static_cast<LoaderCommand>(command)) {
    case LoaderCommand::Probe:
        std::fill(a.begin() + 2, a.end(), 0);
        a[6] = static_cast<uint8_t>(version_.minor);
        a[7] = static_cast<uint8_t>(version_.major);
        return a;
    case LoaderCommand::Start:
        std::fill(a.begin() + 2, a.end(), 0);
        return a;
    case LoaderCommand::Read:
        return readInto(state_.flash, 0);
    case LoaderCommand::Write:
        return writeFrom(state_.flash, kApplicationStart, true);
    case LoaderCommand::Erase: {
        const uint32_t first = address & ~(kEraseBlock - 1);
        if (count == 0) return refuse(Refusal::Count);
        if (first < kApplicationStart || first + count * kEraseBlock > kFlashSize)
            return refuse(Refusal::Address);
        std::fill_n(state_.flash.begin() + first, count * kEraseBlock, 0xFF);
        return a;
    }
    case LoaderCommand::ReadEeprom:
        return readInto(state_.eeprom, 0);
    case LoaderCommand::WriteEeprom:
        return writeFrom(state_.eeprom, 0, false);
    case LoaderCommand::ReadConfig:
        return readInto(state_.configMemory, 0);
    case LoaderCommand::WriteConfig:
        return writeFrom(state_.configMemory, 0, false);
    case LoaderCommand::Led:
        state_.led = !state_.led;
        std::fill(a.begin() + 2, a.end(), 0);
        a[2] = state_.led ? 1 : 0;
        return a;
    case LoaderCommand::Reset:
        std::fill(a.begin() + 2, a.end(), 0);
        reply.reboot = true;
        return a;
    }
    return refuse(Refusal::Unknown);
}

} // namespace emu
