#include "help/Links.h"

#include "platform/DesktopShell.h"

#include <QLoggingCategory>
#include <QRegularExpression>

Q_LOGGING_CATEGORY(lcLinks, "quillmark.help", QtWarningMsg)

namespace {
const QString makerSiteRoot = QStringLiteral("https://www.vennick.example");
}

QString Links::siteRoot()
{
    return makerSiteRoot;
}

QString Links::siteHost()
{
    return QUrl(makerSiteRoot).host();
}

QString Links::homePage()
{
    return makerSiteRoot + QLatin1Char('/');
}

QString Links::otherProducts()
{
    return makerSiteRoot + QStringLiteral("/pmdown.php");
}

QUrl Links::targetUrl(const QString &target)
{
    // A scheme is at least two characters, so a drive letter ("C:\notes.xls") stays a file.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch())
        return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(target);
}

bool Links::open(DesktopShell &shell, const QString &target)
{
    const QUrl url = targetUrl(target);
    const bool opened = shell.open(url);
    if (!opened)
        qCDebug(lcLinks) << "The desktop could not open" << url.toString();
    return opened;
}
