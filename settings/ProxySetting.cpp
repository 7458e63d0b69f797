#include "settings/ProxySetting.h"

#include <QUrl>

#include <cstdio>

std::optional<QNetworkProxy> ParseProxy(const QString& text, QString* why)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"socks5")) {
        *why = QStringLiteral("it is not http://host:port or socks5://host:port");
        return std::nullopt;
    }
    if (url.host().isEmpty()) {
        *why = QStringLiteral("it names no host");
        return std::nullopt;
    }
    if (url.port() < 1) {
        *why = QStringLiteral("it names no port from 1 to 65535");
        return std::nullopt;
    }
    if ((!url.path().isEmpty() && url.path() != u"/") || url.hasQuery() || url.hasFragment()) {
        *why = QStringLiteral("a proxy address has nothing after its port");
        return std::nullopt;
    }
    QNetworkProxy proxy(scheme == u"http" ? QNetworkProxy::HttpProxy : QNetworkProxy::Socks5Proxy, url.host(),
                        quint16(url.port()), url.userName(QUrl::FullyDecoded),
                        url.password(QUrl::FullyDecoded));
    return proxy;
}

std::optional<QNetworkProxy> ReadProxy(const QString& text)
{
    QString why;
    std::optional<QNetworkProxy> proxy = ParseProxy(text, &why);
    if (!proxy && !why.isEmpty())
        std::fprintf(stderr, "vantor: Network/Proxy is ignored: %s; the desktop's proxy settings apply\n",
                     qPrintable(why));
    return proxy;
}
