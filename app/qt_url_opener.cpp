#include "app/qt_url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace orvane {

bool QtUrlOpener::openUrl(std::string_view url) {
    // The address is already encoded; strict mode keeps it as it is.
    const QUrl qurl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size())),
                    QUrl::StrictMode);
    return qurl.isValid() && QDesktopServices::openUrl(qurl);
}

} // namespace orvane
