#include "config/core/transfer_sequences.h"

#include <algorithm>

#include "config/core/command_table.h"

namespace orvane::config {
namespace {

class Builder {
public:
    Builder& send(std::string request) {
        steps_.push_back({std::move(request), std::nullopt});
        return *this;
    }
    Builder& read(uint8_t code) { return send(readRequestText(code)); }
    Builder& progress(double fraction) {
        if (!steps_.empty() && !steps_.back().request.empty() && !steps_.back().progress)
            steps_.back().progress = fraction;
        else
            steps_.push_back({{}, fraction});
        return *this;
    }
    std::vector<SequenceStep> take() { return std::move(steps_); }

private:
    std::vector<SequenceStep> steps_;
};

} // namespace

std::vector<SequenceStep> loadSequence() {
    Builder b;
    b.progress(0).send(std::string(kEnterProgrammingMode)).progress(0.1);
    b.read(0x10).progress(0.2);
    b.read(0x11).progress(0.25);
    b.read(0x12).progress(0.42);
    b.read(0x13).progress(0.5);
    b.read(0x14).read(0x15).progress(0.62);
    b.read(0x16).read(0x17).progress(0.7);
    b.read(0x18).read(0x19).progress(0.8);
    b.read(0x1A).read(0x1B).progress(0.9);
    b.read(0x1C).read(0x1D).read(0x1E).progress(0.95);
    b.read(0x1F).read(0xA0).read(0xA1).send(std::string(kExitProgrammingMode)).progress(1.0);
    return b.take();
}

std::vector<SequenceStep> transmitSequence(const Configuration& record) {
    Builder b;
    b.progress(0).send(std::string(kEnterProgrammingMode));
    b.send(bootloaderRequestText(record.bootloaderEnable)).progress(0.1);
    for (int i = 0; i < kAxisCount; ++i)
        b.send(axisChannelRequestText(i, record));
    b.progress(0.2).send(axisInvertRequestText(record)).progress(0.3);
    for (int i = 0; i < kButtonCount; ++i)
        b.send(buttonChannelRequestText(i, record));
    b.progress(0.4).progress(0.45).send(buttonFlagsRequestText(record));
    for (int i = 0; i < kButtonCount; ++i)
        b.send(thresholdRequestText(i, record));
    b.progress(0.5);
    const auto mixerRange = [&](uint8_t first, uint8_t last) {
        for (int code = first; code <= last; ++code)
            b.send(mixerRequestText(static_cast<uint8_t>(code), record));
    };
    mixerRange(0x20, 0x23);
    b.progress(0.6);
    mixerRange(0x24, 0x27);
    b.progress(0.7);
    mixerRange(0x28, 0x2B);
    b.progress(0.8);
    mixerRange(0x2C, 0x34); // exponent pairs, decoding mode, Q-factor pairs
    b.progress(0.9);
    mixerRange(0x35, 0x38);
    b.send(std::string(kExitProgrammingMode)).progress(1.0);
    return b.take();
}

std::vector<SequenceStep> storeSequence() {
    return {{std::string(kEnterProgrammingMode), std::nullopt},
            {std::string(kExitAndSave), std::nullopt}};
}

std::vector<SequenceStep> bootloaderSequence() {
    return {{std::string(kEnterProgrammingMode), std::nullopt},
            {bootloaderRequestText(true), std::nullopt},
            {std::string(kExitAndSave), std::nullopt}};
}

std::size_t requestCount(std::span<const SequenceStep> steps) {
    return static_cast<std::size_t>(std::count_if(
        steps.begin(), steps.end(), [](const SequenceStep& s) { return !s.request.empty(); }));
}

void runSequence(std::span<const SequenceStep> steps,
                 const std::function<void(std::string_view request)>& send,
                 const std::function<void(double fraction)>& progress) {
    for (const SequenceStep& step : steps) {
        if (!step.request.empty()) send(step.request);
        if (step.progress && progress) progress(*step.progress);
    }
}

SequenceTally runSequence(SequenceKind kind, std::span<const SequenceStep> steps,
                          const std::function<StepOutcome(std::string_view request)>& send,
                          const std::function<void(double fraction)>& progress) {
    SequenceTally tally;
    tally.kind = kind;
    runSequence(
        steps, [&](std::string_view request) { tally.add(send(request)); }, progress);
    return tally;
}

} // namespace orvane::config
