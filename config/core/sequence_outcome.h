// How a configuration sequence (a full read, a transmission, storing) went: each exchange
// is counted as done, refused before sending, not written, not answered or refused by the
// interface, and the end of the sequence says in one text whether everything happened and,
// when not, how many of how many commands failed and what that leaves the user with.
// Commands for items the interface's firmware does not have are counted apart: they are
// no failure.
#ifndef ORVANE_CONFIG_CORE_SEQUENCE_OUTCOME_H
#define ORVANE_CONFIG_CORE_SEQUENCE_OUTCOME_H

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/core/command_table.h"
#include "config/core/configuration.h"

namespace orvane::config {

enum class ExchangeStatus {
    Done,
    Refused,            // the request could not be built; nothing was sent
    NotWritten,         // the write failed or moved less than the whole report
    NotAnswered,        // written, but no answer came within the bound
    RefusedByInterface, // the interface answered with its refusal (F9 EE code ...)
};

struct StepOutcome {
    ExchangeStatus status = ExchangeStatus::Done;
    std::string refusal; // why a refused request was not sent, one sentence
    // "answer 10 (axis 3 channel 0)": an answer that carried values the interface cannot
    // hold; those items kept their values.
    std::string impossible;
    bool readFailed = false; // a read returned an error: the device left or failed
    uint8_t code = 0;        // the request's command code; 0 when it was not built
};

enum class SequenceKind { Load, Transmit, Store };

struct SequenceTally {
    SequenceKind kind = SequenceKind::Load;
    int requests = 0; // exchanges counted so far
    int refused = 0;
    int notWritten = 0;
    int notAnswered = 0;
    int refusedByInterface = 0;
    // Failed commands for items the firmware does not have (countUnsupported), not failures.
    int unsupported = 0;
    std::optional<FirmwareVersion> firmware; // set by countUnsupported
    bool readFailed = false;
    // Position (from 1) of the first of the failed writes that ran to the sequence's end;
    // 0 when the last exchange was written.
    int unwrittenFrom = 0;
    std::vector<std::string> refusals;   // distinct reasons, in order
    std::vector<std::string> impossible; // every answer with values that were refused
    std::vector<StepOutcome> steps;      // each exchange, in order

    void add(const StepOutcome& step);
    // Moves the commands that were refused or not answered and that this firmware does not
    // have out of the failures; a version known only after the sequence counts as well.
    void countUnsupported(const FirmwareVersion& version);
    int failed() const { return refused + notWritten + notAnswered + refusedByInterface; }
    // How the last exchange went (the store command of storing); Done when there was none.
    ExchangeStatus lastStatus() const {
        return steps.empty() ? ExchangeStatus::Done : steps.back().status;
    }
    // Every exchange happened and every answer was taken.
    bool complete() const { return failed() == 0 && impossible.empty(); }
};

// The values of a record that no command can carry to the interface (a mixer entry beyond
// a byte from a hand-edited settings file, ...), each as "mixer 3 factor 300".
// offset: the language (0 German, 1000 English).
std::vector<std::string> valuesTheInterfaceCannotTake(const Configuration& record,
                                                      int offset = 1000);

// One text for the end of a sequence. notTaken: the record's values that the transmission
// could not send (valuesTheInterfaceCannotTake), named when requests were refused.
// A sequence that did not fully happen never reads as a success: the text names how many
// commands of how many failed and what that means for the controls or the interface.
std::string sequenceSummary(const SequenceTally& tally, std::span<const std::string> notTaken = {},
                            int offset = 1000);

// What a read that did not fully happen leaves in an editor that shows the record: nothing
// of the interface's configuration, or only part of it. Empty after a complete read.
std::string readFailureNote(const SequenceTally& tally, int offset = 1000);

} // namespace orvane::config

#endif
