#ifndef ORVANE_APP_PROGRAM_VERSION_H
#define ORVANE_APP_PROGRAM_VERSION_H

namespace orvane {

// This release: 2.3, revision 55.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 3;
inline constexpr int kVersionRevision = 55;
inline constexpr const char* kProgramTitle = "Orvane";

} // namespace orvane

#endif
