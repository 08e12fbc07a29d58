// Opens links with the desktop's default program; see qt_shell.h.
#include "qt_shell.h"

#include "platform/text.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantreth::gui {

void QtShell::Open(const std::string& target) {
    const QUrl url(QString::fromStdString(platform::Cp1252ToUtf8(target)), QUrl::TolerantMode);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace vantreth::gui
