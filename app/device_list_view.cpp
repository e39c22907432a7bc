#include "app/device_list_view.h"

#include <QKeyEvent>

namespace orvane {

void DeviceListView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The keypad's Enter carries the keypad modifier.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!selectedItems().isEmpty()) {
            event->accept();
            emit activatedByKey();
            return;
        }
    }
    const QTreeWidgetItem* before = currentItem();
    const auto selectedBefore = selectedItems();
    QTreeWidget::keyPressEvent(event);
    // Only keys that changed the row or its selection count: Tab, letters or an arrow
    // against the end of the list are no click.
    const bool moved = currentItem() != before || selectedItems() != selectedBefore;
    if (moved && !selectedItems().isEmpty()) emit selectedByKey();
}

} // namespace orvane
