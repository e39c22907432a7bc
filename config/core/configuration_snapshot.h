// The items a settings file holds are those of the configuration record.
#ifndef ORVANE_CONFIG_CORE_CONFIGURATION_SNAPSHOT_H
#define ORVANE_CONFIG_CORE_CONFIGURATION_SNAPSHOT_H

#include "config/core/configuration.h"

namespace orvane::config {

using ConfigurationSnapshot = Configuration;

} // namespace orvane::config

#endif
