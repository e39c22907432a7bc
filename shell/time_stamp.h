// Time stamp line of a log entry: the user's short date, ",", the user's time.
#ifndef ORVANE_SHELL_TIME_STAMP_H
#define ORVANE_SHELL_TIME_STAMP_H

#include <string>

namespace orvane {

std::string localTimeStamp();

} // namespace orvane

#endif
