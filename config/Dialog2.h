// Configuration dialog. (Placeholder until the editor lands; the public interface below is
// what the main window relies on.)
#ifndef ORVANE_CONFIG_DIALOG2_H
#define ORVANE_CONFIG_DIALOG2_H

#include <QDialog>

#include "app/core/app_context.h"

namespace orvane {

class Dialog2 : public QDialog {
    Q_OBJECT
public:
    explicit Dialog2(AppContext& context, QWidget* parent = nullptr);

    // The seven values of the opened device, set by the main window before showing.
    void setDeviceValues(const DeviceValues& values);
    void updateLocalization();

    // Firmware version of the last version answer; 0 until one was read.
    int fwMajor() const { return fwMajor_; }
    int fwMinor() const { return fwMinor_; }
    int fwRevision() const { return fwRevision_; }

signals:
    // Emitted by a version answer, so the main window can show major and minor.
    void firmwareVersionRead(int major, int minor, int revision);

private:
    AppContext& context_;
    DeviceValues values_;
    int fwMajor_ = 0;
    int fwMinor_ = 0;
    int fwRevision_ = 0;
};

} // namespace orvane

#endif
