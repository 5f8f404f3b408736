#include "ui/shell/links.h"

#include <QDesktopServices>

#include "ui/shell/maker.h"

namespace kelvo::shell {
namespace {

std::function<bool(const QUrl&)>& Opener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

QUrl Web(const QString& path) {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(maker::kSiteHost);
    url.setPath(path);
    return url;
}

}  // namespace

QUrl SiteRootUrl() { return Web(QString()); }
QUrl SiteRootWithSlashUrl() { return Web(QStringLiteral("/")); }
QUrl CatalogueUrl() { return Web(QStringLiteral("/catalog.php")); }

QUrl SupportMailUrl() {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(maker::kSupportMail);
    url.setQuery(QStringLiteral("Subject=") + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("Вопросы"))),
                 QUrl::StrictMode);
    return url;
}

QUrl UrlFromSiteText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return {};
    QUrl url(trimmed.contains(QStringLiteral("://")) ? trimmed : QStringLiteral("http://") + trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return {};
    return url;
}

bool OpenUrl(const QUrl& url) {
    if (!url.isValid() || url.scheme().isEmpty()) return false;
    if (Opener()) return Opener()(url);
    return QDesktopServices::openUrl(url);
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

}  // namespace kelvo::shell
