#include "config/core/sequence_outcome.h"

#include <algorithm>

#include "config/core/item_ranges.h"
#include "resources/text_fill.h"
#include "resources/texts/shared_texts.h"

namespace orvane::config {
namespace {

int fieldText(MixerField field) {
    switch (field) {
    case MixerField::Assignment:
        return text_id::kMixerAssignment;
    case MixerField::Neutral:
        return text_id::kMixerNeutral;
    case MixerField::Factor:
        return text_id::kMixerFactor;
    case MixerField::Exponent:
        return text_id::kMixerExponent;
    case MixerField::FactorQ:
        return text_id::kMixerFactorQ;
    case MixerField::ExponentQ:
        return text_id::kMixerExponentQ;
    }
    return 0;
}

// Each value out of range as the text of id: "%1" the item's number, then the other
// places (a mixer's field name) and last the value.
template <typename T, std::size_t N>
void checkItems(std::vector<std::string>& out, int id, int offset, const std::array<T, N>& values,
                ItemRange range, std::string_view field = {}) {
    for (std::size_t i = 0; i < N; ++i) {
        const int value = static_cast<int>(values[i]);
        if (range.contains(value)) continue;
        const std::string number = std::to_string(i + 1);
        const std::string shown = std::to_string(value);
        out.push_back(field.empty() ? localizedText(id, offset, {number, shown})
                                    : localizedText(id, offset, {number, field, shown}));
    }
}

std::string joined(std::span<const std::string> parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string commandCount(int n, int offset) {
    return localizedText(n == 1 ? text_id::kOneCommand : text_id::kManyCommands, offset,
                         {std::to_string(n)});
}

int sequenceName(SequenceKind kind) {
    switch (kind) {
    case SequenceKind::Load:
        return text_id::kSequenceRead;
    case SequenceKind::Transmit:
        return text_id::kSequenceTransmission;
    case SequenceKind::Store:
        return text_id::kSequenceStoring;
    }
    return 0;
}

// "; 13 not supported by firmware 1.1 (mixers, decoding mode)", or nothing.
std::string unsupportedText(const SequenceTally& t, int offset) {
    if (t.unsupported == 0 || !t.firmware) return {};
    const int lacks = !supportsMixers(*t.firmware)         ? text_id::kLacksMixersAndMode
                      : !supportsDecodingMode(*t.firmware) ? text_id::kLacksDecodingMode
                                                           : 0;
    return localizedText(text_id::kCountUnsupported, offset,
                         {std::to_string(t.unsupported), firmwareText(*t.firmware),
                          lacks == 0 ? std::string() : localizedText(lacks, offset)});
}

std::string successText(const SequenceTally& t, int offset) {
    const std::string answered = std::to_string(t.requests - t.unsupported);
    const std::string lacking = unsupportedText(t, offset);
    const bool all = t.unsupported == 0;
    switch (t.kind) {
    case SequenceKind::Load:
        if (all) return localizedText(text_id::kReadAllAnswered, offset, {answered});
        return localizedText(text_id::kReadSomeAnswered, offset, {answered, lacking});
    case SequenceKind::Transmit:
        if (all) return localizedText(text_id::kTransmittedAllAnswered, offset, {answered});
        return localizedText(text_id::kTransmittedSomeAnswered, offset, {answered, lacking});
    case SequenceKind::Store:
        if (all) return localizedText(text_id::kStoredAllAnswered, offset, {answered});
        return localizedText(text_id::kStoredSomeAnswered, offset, {answered, lacking});
    }
    return {};
}

// What the failed commands leave behind.
std::string consequence(const SequenceTally& t, int offset) {
    switch (t.kind) {
    case SequenceKind::Load:
        return {}; // what a failed read leaves depends on who read: see readFailureNote
    case SequenceKind::Transmit:
        return localizedText(text_id::kTransmitLeavesMix, offset);
    case SequenceKind::Store:
        switch (t.lastStatus()) {
        case ExchangeStatus::Done:
            return localizedText(text_id::kStoreAnswered, offset);
        case ExchangeStatus::NotAnswered:
            return localizedText(text_id::kStoreMayBeMissing, offset);
        case ExchangeStatus::RefusedByInterface:
            return localizedText(text_id::kStoreRefused, offset);
        case ExchangeStatus::Refused:
        case ExchangeStatus::NotWritten:
            return localizedText(text_id::kStoreNotReached, offset);
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

std::vector<std::string> valuesTheInterfaceCannotTake(const Configuration& record, int offset) {
    std::vector<std::string> out;
    checkItems(out, text_id::kAxisChannelValue, offset, record.axisChannel, kChannelRange);
    checkItems(out, text_id::kButtonChannelValue, offset, record.buttonChannel, kChannelRange);
    checkItems(out, text_id::kButtonTriggerValue, offset, record.buttonThreshold, kThresholdRange);
    if (!kDecodingModeRange.contains(record.decodingMode))
        out.push_back(localizedText(text_id::kDecodingModeValue, offset,
                                    {std::to_string(record.decodingMode)}));
    // Every mixer entry travels as one byte.
    for (const MixerField field : kMixerFields)
        checkItems(out, text_id::kMixerValue, offset, record.mixers[field], kMixerByteRange,
                   localizedText(fieldText(field), offset));
    return out;
}

std::string sequenceSummary(const SequenceTally& t, std::span<const std::string> notTaken,
                            int offset) {
    if (t.complete()) return successText(t, offset);
    const std::string name = localizedText(sequenceName(t.kind), offset);
    std::string text;
    if (t.failed() > 0) {
        std::vector<std::string> kinds;
        const auto count = [&](int n, int id) {
            if (n > 0) kinds.push_back(localizedText(id, offset, {std::to_string(n)}));
        };
        count(t.refused, text_id::kCountNotSent);
        count(t.notWritten, text_id::kCountNotWritten);
        count(t.notAnswered, text_id::kCountNotAnswered);
        count(t.refusedByInterface, text_id::kCountRefusedByInterface);
        text = localizedText(text_id::kSequenceFailedCounted, offset,
                             {name, std::to_string(t.failed()),
                              commandCount(t.requests - t.unsupported, offset), joined(kinds),
                              unsupportedText(t, offset)});
    } else {
        text = localizedText(text_id::kSequenceFailed, offset, {name});
    }
    if (t.refused > 0) {
        if (!notTaken.empty())
            text += localizedText(text_id::kNotSentCannotTake, offset, {joined(notTaken)});
        else if (!t.refusals.empty())
            text += localizedText(text_id::kNotSentBecause, offset, {t.refusals.front()});
    }
    if (t.readFailed)
        text += localizedText(text_id::kStoppedAnswering, offset);
    else if (t.unwrittenFrom > 0 && t.unwrittenFrom < t.requests)
        text +=
            localizedText(text_id::kNothingWrittenFrom, offset, {std::to_string(t.unwrittenFrom)});
    if (!t.impossible.empty())
        text += localizedText(text_id::kAnswersCannotHold, offset, {joined(t.impossible)});
    return text + consequence(t, offset);
}

std::string readFailureNote(const SequenceTally& tally, int offset) {
    if (tally.complete()) return {};
    if (tally.failed() == tally.requests - tally.unsupported)
        return localizedText(text_id::kNothingRead, offset);
    return localizedText(text_id::kFailedItemsKept, offset);
}

} // namespace orvane::config
