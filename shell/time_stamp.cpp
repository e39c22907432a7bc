#include "shell/time_stamp.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace orvane {

std::string localTimeStamp() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    // The long time format carries the seconds but also the time zone ("t"), which the
    // user's time format of a log line does not show.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    const QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(',') +
                         locale.toString(now.time(), timeFormat.trimmed());
    return text.toStdString();
}

} // namespace orvane
