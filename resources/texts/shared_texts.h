// Ids of our own texts in the shared area; the English text of an id is at id + 1000.
// "%1".."%9" in a text are filled by filledText (resources/text_fill.h).
#ifndef ORVANE_RESOURCES_TEXTS_SHARED_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_SHARED_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {

// How a configuration sequence went (config/core/sequence_outcome).
inline constexpr int kReadAllAnswered = 700;
inline constexpr int kTransmittedAllAnswered = 701;
inline constexpr int kStoredAllAnswered = 702;
inline constexpr int kTransmitLeavesMix = 703;
inline constexpr int kStoreMayBeMissing = 704;
inline constexpr int kSequenceRead = 705;
inline constexpr int kSequenceTransmission = 706;
inline constexpr int kSequenceStoring = 707;
inline constexpr int kSequenceFailedCounted = 708;
inline constexpr int kOneCommand = 709;
inline constexpr int kManyCommands = 710;
inline constexpr int kSequenceFailed = 711;
inline constexpr int kCountNotSent = 712;
inline constexpr int kCountNotWritten = 713;
inline constexpr int kCountNotAnswered = 714;
inline constexpr int kNotSentCannotTake = 715;
inline constexpr int kNotSentBecause = 716;
inline constexpr int kStoppedAnswering = 717;
inline constexpr int kNothingWrittenFrom = 718;
inline constexpr int kAnswersCannotHold = 719;
inline constexpr int kNothingRead = 720;
inline constexpr int kFailedItemsKept = 721;
// Values no command can carry: "axis 3 channel 0", "mixer 2 factor 300".
inline constexpr int kAxisChannelValue = 722;
inline constexpr int kButtonChannelValue = 723;
inline constexpr int kButtonTriggerValue = 724;
inline constexpr int kDecodingModeValue = 725;
inline constexpr int kMixerValue = 726;
inline constexpr int kMixerAssignment = 727;
inline constexpr int kMixerNeutral = 728;
inline constexpr int kMixerFactor = 729;
inline constexpr int kMixerExponent = 730;
inline constexpr int kMixerFactorQ = 731;
inline constexpr int kMixerExponentQ = 732;
// Commands the interface's firmware lacks, and how storing went.
inline constexpr int kCountUnsupported = 733;
inline constexpr int kLacksMixersAndMode = 734;
inline constexpr int kLacksDecodingMode = 735;
inline constexpr int kReadSomeAnswered = 736;
inline constexpr int kTransmittedSomeAnswered = 737;
inline constexpr int kCountRefusedByInterface = 738;
inline constexpr int kStoredSomeAnswered = 739;
inline constexpr int kStoreAnswered = 745;
inline constexpr int kStoreRefused = 746;
inline constexpr int kStoreNotReached = 747;

// Questions and messages of the configuration dialog.
inline constexpr int kFailedTransmitState = 740;
inline constexpr int kStoreAnyway = 741;
inline constexpr int kCloseAnyway = 742;
inline constexpr int kTransmitUnknownConfiguration = 743;
inline constexpr int kFileValuesNotTaken = 744;

// Firmware dialog: its console and its refusals of a file.
inline constexpr int kBootLoaderOutOfStep = 750;
inline constexpr int kCannotReadFile = 751;
inline constexpr int kNotEnciphered = 752;
inline constexpr int kNotOurEncipherment = 753;
inline constexpr int kFileRefusedBecause = 754;
inline constexpr int kIsEnciphered = 755;
inline constexpr int kCannotEncipher = 756;
inline constexpr int kFileRefusedNothingLoaded = 757;
inline constexpr int kBytesLeftOut = 758;

// Main window: tooltips of the firmware version fields and its messages.
inline constexpr int kFirmwareMajorTip = 770;
inline constexpr int kFirmwareMinorTip = 771;
inline constexpr int kNoPermission = 772;
inline constexpr int kNoBrowser = 773;

// HID console tooltips.
inline constexpr int kDataBytesTip = 780;

} // namespace orvane::text_id

#endif
