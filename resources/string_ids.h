// Ids of the string table's texts, German numbering; the English text of an id is at
// id + 1000 (the language offset).
#ifndef ORVANE_RESOURCES_STRING_IDS_H
#define ORVANE_RESOURCES_STRING_IDS_H

namespace orvane::text_id {

// Main window.
inline constexpr int kDeviceListHint = 1;
inline constexpr int kOpenButton = 2;
inline constexpr int kFirmwareButton = 3;
inline constexpr int kHidConsoleButton = 4;
inline constexpr int kRefreshButton = 5;
inline constexpr int kSearchUpdatesButton = 6;
inline constexpr int kCloseButton = 7;
inline constexpr int kOpenInterfaceFirst = 8;

// Firmware dialog; its six operation buttons are 9 to 14 in this order.
inline constexpr int kOpenFileButton = 9;
inline constexpr int kProgramButton = 10;
inline constexpr int kEraseButton = 11;
inline constexpr int kVerifyButton = 12;
inline constexpr int kResetButton = 13;
inline constexpr int kLedButton = 14;
inline constexpr int kCancelButton = 15;
inline constexpr int kConnectInterfaceNow = 16;
inline constexpr int kReconnectIfConnected = 17;
inline constexpr int kBootLoaderMustBeActive = 18;
inline constexpr int kFound = 19;

// HID console.
inline constexpr int kSendButton = 20;
inline constexpr int kNotAssigned = 21;
inline constexpr int kAssignedCommands = 22;
inline constexpr int kClearButton = 23;
inline constexpr int kReadFrame = 24;
inline constexpr int kWriteFrame = 25;
inline constexpr int kDeviceFrame = 26;

// Configuration dialog.
inline constexpr int kReadFromFile = 27;
inline constexpr int kSaveInFile = 28;
inline constexpr int kLoadFromInterface = 29;
inline constexpr int kTransmitToInterface = 30;
inline constexpr int kStoreInInterfaceAndExit = 31;
inline constexpr int kReading = 32;
inline constexpr int kLoadPresets = 33;
inline constexpr int kDecodingMode = 34;
inline constexpr int kAssignAxes = 35;
inline constexpr int kAssignButtons = 36;
inline constexpr int kMixers = 37;
inline constexpr int kStickMode1 = 38; // stick modes 1 to 4 are 38 to 41
inline constexpr int kStickMode2 = 39;
inline constexpr int kStickMode3 = 40;
inline constexpr int kStickMode4 = 41;
inline constexpr int kRfG2 = 42;
inline constexpr int kActivateBootLoader = 43;
inline constexpr int kFirstButtonOnChannel5 = 44;
inline constexpr int kFirstButtonOnChannel3 = 45;
inline constexpr int kAllButtonsOff = 46;
inline constexpr int kRcChannel = 47;
inline constexpr int kInvert = 48;
inline constexpr int kOutput = 49;
inline constexpr int kJoystickDevices = 50;
inline constexpr int kButton = 51;
inline constexpr int kTriggerAbove = 52;
inline constexpr int kActive = 53;
inline constexpr int kMixerNumber = 54;
inline constexpr int kSourceChannel = 55;
inline constexpr int kDestinationChannel = 56;
inline constexpr int kOffset = 57;
inline constexpr int kLinear = 58;
inline constexpr int kFactor = 59;
inline constexpr int kExponent = 60;
inline constexpr int kQuadratic = 61;
inline constexpr int kClearMixers = 62;
inline constexpr int kJoystickAxis = 63;
inline constexpr int kIncompatibleBootLoader = 64;
inline constexpr int kOnlyIfSure = 65;
inline constexpr int kTransmitting = 66;
inline constexpr int kReattachToApply = 67;

} // namespace orvane::text_id

#endif
