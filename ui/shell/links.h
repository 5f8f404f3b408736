// Links to the maker: every link is a well-formed URL handed to the system's default handler.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace kelvo::shell {

QUrl SiteRootUrl();           // http://host
QUrl SiteRootWithSlashUrl();  // http://host/
QUrl CatalogueUrl();          // http://host/catalog.php
QUrl SupportMailUrl();        // mailto:address?Subject=Вопросы, the subject percent-encoded
// The address a label shows as text, made a web URL when it names no scheme.
QUrl UrlFromSiteText(const QString& text);

// Hands a URL to the default handler for its scheme; a URL that is not valid is never handed
// over. Returns whether it was handed over.
bool OpenUrl(const QUrl& url);
// Replaces the handler (tests record the URLs instead of starting a browser); an empty
// function restores the default.
void SetUrlOpener(std::function<bool(const QUrl&)> opener);

}  // namespace kelvo::shell
