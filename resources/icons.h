// Pictures of the program drawn at run time: the two flags of the language buttons and
// the program icon of the about box and the windows.
#ifndef ORVANE_RESOURCES_ICONS_H
#define ORVANE_RESOURCES_ICONS_H

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace orvane {

QPixmap germanFlag(QSize size);
QPixmap englishFlag(QSize size);
QPixmap programIcon(int size);
QIcon programWindowIcon();

} // namespace orvane

#endif
