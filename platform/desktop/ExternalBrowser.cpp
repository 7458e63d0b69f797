#include "platform/desktop/ExternalBrowser.h"

#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace desktop {

std::optional<QString> ExternalBrowserArgument(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return std::nullopt;
    return url.toString(QUrl::FullyEncoded);
}

bool OpenInExternalBrowser(const QString& address)
{
    const auto argument = ExternalBrowserArgument(address);
    if (!argument)
        return false;
    // xdg-open reports failure only through its exit code, so the fallback runs in a detached shell
    // after it. The address is a positional argument, never part of the script text.
    static const QString script = QStringLiteral("xdg-open \"$1\" 2>/dev/null && exit 0\n"
                                                 "for b in x-www-browser sensible-browser; do\n"
                                                 "  command -v \"$b\" >/dev/null 2>&1 && exec \"$b\" \"$1\"\n"
                                                 "done\n"
                                                 "exit 1\n");
    return QProcess::startDetached(QStringLiteral("/bin/sh"),
                                   {QStringLiteral("-c"), script, QStringLiteral("sh"), *argument});
}

} // namespace desktop
