// Hands an address to the desktop's URL handler (the default web browser).
#ifndef ORVANE_APP_QT_URL_OPENER_H
#define ORVANE_APP_QT_URL_OPENER_H

#include "shell/update_check.h"

namespace orvane {

class QtUrlOpener : public UrlOpener {
public:
    bool openUrl(std::string_view url) override;
};

} // namespace orvane

#endif
