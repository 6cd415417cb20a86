// The maker's web site and the opening of web pages and documents through the desktop.
#pragma once

#include <QString>
#include <QUrl>

class DesktopShell;

class Links
{
public:
    // The one place to change the maker's web site: scheme and host name, no trailing "/".
    static QString siteRoot();
    // The site root without its scheme.
    static QString siteHost();
    static QString homePage(); // the site root followed by "/"
    static QString otherProducts(); // the product download page

    // What a target opens as: a text with a URL scheme is that URL, any other text a local file.
    static QUrl targetUrl(const QString &target);
    // Opens the target with the program the desktop associates with it; true when the desktop took
    // the request. Nothing is shown to the user either way.
    static bool open(DesktopShell &shell, const QString &target);
};
