// The main window's device list. Keys do what the mouse does: moving the selection with
// the keyboard is a click on the list, Enter on a selected row is a double click.
#ifndef ORVANE_APP_DEVICE_LIST_VIEW_H
#define ORVANE_APP_DEVICE_LIST_VIEW_H

#include <QTreeWidget>

namespace orvane {

class DeviceListView : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    // A key moved the selection onto a row (or re-selected it).
    void selectedByKey();
    // Enter or Return on a selected row.
    void activatedByKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace orvane

#endif
