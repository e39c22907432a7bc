#include "config/core/sequence_outcome.h"

#include <algorithm>

#include "config/core/item_ranges.h"

namespace orvane::config {
namespace {

const char* fieldText(MixerField field) {
    switch (field) {
    case MixerField::Assignment:
        return "assignment";
    case MixerField::Neutral:
        return "neutral";
    case MixerField::Factor:
        return "factor";
    case MixerField::Exponent:
        return "exponent";
    case MixerField::FactorQ:
        return "Q-factor";
    case MixerField::ExponentQ:
        return "Q-exponent";
    }
    return "";
}

template <typename T, std::size_t N>
void checkItems(std::vector<std::string>& out, const char* item, const char* what,
                const std::array<T, N>& values, ItemRange range) {
    for (std::size_t i = 0; i < N; ++i) {
        const int value = static_cast<int>(values[i]);
        if (!range.contains(value))
            out.push_back(std::string(item) + " " + std::to_string(i + 1) + " " + what + " " +
                          std::to_string(value));
    }
}

std::string joined(std::span<const std::string> parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

const char* sequenceName(SequenceKind kind) {
    switch (kind) {
    case SequenceKind::Load:
        return "The read";
    case SequenceKind::Transmit:
        return "The transmission";
    case SequenceKind::Store:
        return "Storing";
    }
    return "";
}

// "; 13 not supported by firmware 1.1 (mixers, decoding mode)", or nothing.
std::string unsupportedText(const SequenceTally& t) {
    if (t.unsupported == 0 || !t.firmware) return {};
    const std::string lacks = itemsFirmwareLacks(*t.firmware);
    return "; " + std::to_string(t.unsupported) + " not supported by firmware " +
           firmwareText(*t.firmware) + (lacks.empty() ? "" : " (" + lacks + ")");
}

std::string successText(const SequenceTally& t) {
    const int answered = t.requests - t.unsupported;
    const std::string all = (t.unsupported == 0 ? "all " : "") + std::to_string(answered) +
                            " commands answered" + unsupportedText(t);
    switch (t.kind) {
    case SequenceKind::Load:
        return "Configuration read from the interface: " + all + ".";
    case SequenceKind::Transmit:
        if (t.unsupported > 0)
            return "Configuration transmitted to the interface (not stored yet): " + all + ".";
        return "Configuration transmitted to the interface: " + all + " (not stored yet).";
    case SequenceKind::Store:
        return "Configuration stored in the interface: " + all + ".";
    }
    return {};
}

// What the failed commands leave behind.
std::string consequence(const SequenceTally& t) {
    switch (t.kind) {
    case SequenceKind::Load:
        return {}; // what a failed read leaves depends on who read: see readFailureNote
    case SequenceKind::Transmit:
        return " Until it is reconnected, the interface may run a mix of old and new values; "
               "its stored configuration is untouched.";
    case SequenceKind::Store:
        switch (t.lastStatus()) {
        case ExchangeStatus::Done:
            return " The interface answered the store command: it stored its configuration.";
        case ExchangeStatus::NotAnswered:
            return " The store command was sent but its answer did not come: the interface may "
                   "or may not have stored its configuration.";
        case ExchangeStatus::RefusedByInterface:
            return " The interface refused the store command: it did not store its "
                   "configuration.";
        case ExchangeStatus::Refused:
        case ExchangeStatus::NotWritten:
            return " The store command did not reach the interface: it did not store its "
                   "configuration.";
        }
    }
    return {};
}

} // namespace

void SequenceTally::add(const StepOutcome& step) {
    ++requests;
    switch (step.status) {
    case ExchangeStatus::Done:
        break;
    case ExchangeStatus::Refused:
        ++refused;
        if (std::find(refusals.begin(), refusals.end(), step.refusal) == refusals.end())
            refusals.push_back(step.refusal);
        break;
    case ExchangeStatus::NotWritten:
        ++notWritten;
        break;
    case ExchangeStatus::NotAnswered:
        ++notAnswered;
        break;
    case ExchangeStatus::RefusedByInterface:
        ++refusedByInterface;
        break;
    }
    steps.push_back(step);
    if (step.status != ExchangeStatus::NotWritten)
        unwrittenFrom = 0;
    else if (unwrittenFrom == 0)
        unwrittenFrom = requests;
    readFailed = readFailed || step.readFailed;
    if (!step.impossible.empty()) impossible.push_back(step.impossible);
}

void SequenceTally::countUnsupported(const FirmwareVersion& version) {
    firmware = version;
    for (StepOutcome& step : steps) {
        if (step.code == 0 || firmwareHasCode(version, step.code)) continue;
        if (step.status == ExchangeStatus::NotAnswered)
            --notAnswered;
        else if (step.status == ExchangeStatus::RefusedByInterface)
            --refusedByInterface;
        else
            continue;
        step.status = ExchangeStatus::Done;
        ++unsupported;
    }
}

std::vector<std::string> valuesTheInterfaceCannotTake(const Configuration& record) {
    std::vector<std::string> out;
    checkItems(out, "axis", "channel", record.axisChannel, kChannelRange);
    checkItems(out, "button", "channel", record.buttonChannel, kChannelRange);
    checkItems(out, "button", "trigger level", record.buttonThreshold, kThresholdRange);
    if (!kDecodingModeRange.contains(record.decodingMode))
        out.push_back("decoding mode " + std::to_string(record.decodingMode));
    // Every mixer entry travels as one byte.
    for (const MixerField field : kMixerFields)
        checkItems(out, "mixer", fieldText(field), record.mixers[field], kMixerByteRange);
    return out;
}

std::string sequenceSummary(const SequenceTally& t, std::span<const std::string> notTaken) {
    if (t.complete()) return successText(t);
    std::string text;
    if (t.failed() > 0) {
        std::vector<std::string> kinds;
        if (t.refused > 0) kinds.push_back(std::to_string(t.refused) + " not sent");
        if (t.notWritten > 0) kinds.push_back(std::to_string(t.notWritten) + " not written");
        if (t.notAnswered > 0) kinds.push_back(std::to_string(t.notAnswered) + " not answered");
        if (t.refusedByInterface > 0)
            kinds.push_back(std::to_string(t.refusedByInterface) + " refused by the interface");
        text = std::string(sequenceName(t.kind)) +
               " did not fully happen: " + std::to_string(t.failed()) + " of " +
               plural(t.requests - t.unsupported, "command", "commands") + " failed (" +
               joined(kinds) + ")" + unsupportedText(t) + ".";
    } else {
        text = std::string(sequenceName(t.kind)) + " did not fully happen.";
    }
    if (t.refused > 0) {
        if (!notTaken.empty())
            text += " Not sent: the interface cannot take " + joined(notTaken) +
                    "; a mixer command carries two mixers, so the other one of its pair was "
                    "not written either.";
        else if (!t.refusals.empty())
            text += " Not sent: " + t.refusals.front();
    }
    if (t.readFailed)
        text += " The interface stopped answering (it left or failed).";
    else if (t.unwrittenFrom > 0 && t.unwrittenFrom < t.requests)
        text += " Nothing could be written from command " + std::to_string(t.unwrittenFrom) +
                " on: the interface may have left.";
    if (!t.impossible.empty())
        text += " Answers carried values the interface cannot hold; those items were left as "
                "they were: " +
                joined(t.impossible) + ".";
    return text + consequence(t);
}

std::string readFailureNote(const SequenceTally& tally) {
    if (tally.complete()) return {};
    if (tally.failed() == tally.requests - tally.unsupported)
        return "Nothing was read: the controls do not show the interface's configuration.";
    return "The items of the failed commands keep their previous values.";
}

} // namespace orvane::config
