#include "config/Dialog2.h"

namespace orvane {

Dialog2::Dialog2(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("Dialog2");
}

void Dialog2::setDeviceValues(const DeviceValues& values) { values_ = values; }

void Dialog2::updateLocalization() {}

} // namespace orvane
