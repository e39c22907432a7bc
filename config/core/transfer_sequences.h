// The fixed command sequences that move a whole configuration: a full read (20
// exchanges), a full transmission (54) and storing (2). A sequence is a list of requests
// and of progress marks; whoever runs it sends each request its own way (the dialog
// through its diagnostic panel, the command line straight to the port) and never stops
// at a failed exchange; the counted run tallies what failed, so that the end of the
// sequence can say so.
#ifndef ORVANE_CONFIG_CORE_TRANSFER_SEQUENCES_H
#define ORVANE_CONFIG_CORE_TRANSFER_SEQUENCES_H

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/core/configuration.h"
#include "config/core/sequence_outcome.h"

namespace orvane::config {

struct SequenceStep {
    std::string request;            // request text from byte 1 on; empty: a progress mark only
    std::optional<double> progress; // fraction of the progress bar, set after the request
};

std::vector<SequenceStep> loadSequence();
// Built from the record as it is when the transmission starts.
std::vector<SequenceStep> transmitSequence(const Configuration& record);
std::vector<SequenceStep> storeSequence();
// The way to the boot loader without a whole transmission: programming mode, the
// boot-loader switch on, leave programming mode and store.
std::vector<SequenceStep> bootloaderSequence();

// Number of requests in a sequence.
std::size_t requestCount(std::span<const SequenceStep> steps);

void runSequence(std::span<const SequenceStep> steps,
                 const std::function<void(std::string_view request)>& send,
                 const std::function<void(double fraction)>& progress);

// The same, counting each exchange by what send says of it.
SequenceTally runSequence(SequenceKind kind, std::span<const SequenceStep> steps,
                          const std::function<StepOutcome(std::string_view request)>& send,
                          const std::function<void(double fraction)>& progress);

} // namespace orvane::config

#endif
