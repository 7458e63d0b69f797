#include "platform/engine/RequestPolicy.h"

#include <QHostAddress>
#include <QSet>

#include <utility>

namespace engine {
namespace {

QSet<std::pair<QString, int>>& LocalEndpoints()
{
    static QSet<std::pair<QString, int>> endpoints;
    return endpoints;
}

bool IsLocalEndpoint(const QUrl& target)
{
    const int port = target.port(target.scheme() == u"https" || target.scheme() == u"wss" ? 443 : 80);
    return LocalEndpoints().contains({target.host().toLower(), port});
}

bool IsPublicWebOrigin(const QUrl& origin)
{
    // Opaque origins (sandboxed frames, data: documents) come without a host: they are treated as
    // public, since nothing says where their content came from.
    return origin.host().isEmpty() || !IsLocalNetworkHost(origin.host());
}

} // namespace

bool IsAllowedForWeb(const QString& scheme)
{
    static const QSet<QString> allowed = {
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ws"),    QStringLiteral("wss"),
        QStringLiteral("data"), QStringLiteral("blob"),  QStringLiteral("about"), QStringLiteral("ruffle"),
    };
    return allowed.contains(scheme.toLower());
}

bool IsWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool IsLocalNetworkHost(const QString& writtenHost)
{
    QString host = writtenHost.toLower();
    if (host.endsWith(u'.'))
        host.chop(1);
    if (host == u"localhost" || host.endsWith(u".localhost"))
        return true;
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    QHostAddress address;
    if (!address.setAddress(host))
        return false; // a name: public as written
    bool mapped = false;
    const quint32 v4mapped = address.toIPv4Address(&mapped);
    if (mapped && address.protocol() == QAbstractSocket::IPv6Protocol)
        address = QHostAddress(v4mapped);
    static const std::pair<QHostAddress, int> local[] = {
        QHostAddress::parseSubnet(QStringLiteral("0.0.0.0/8")),
        QHostAddress::parseSubnet(QStringLiteral("127.0.0.0/8")),
        QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8")),
        QHostAddress::parseSubnet(QStringLiteral("172.16.0.0/12")),
        QHostAddress::parseSubnet(QStringLiteral("192.168.0.0/16")),
        QHostAddress::parseSubnet(QStringLiteral("169.254.0.0/16")),
        QHostAddress::parseSubnet(QStringLiteral("::1/128")),
        QHostAddress::parseSubnet(QStringLiteral("::/128")),
        QHostAddress::parseSubnet(QStringLiteral("fc00::/7")),
        QHostAddress::parseSubnet(QStringLiteral("fe80::/10")),
    };
    for (const auto& subnet : local) {
        if (address.isInSubnet(subnet))
            return true;
    }
    return false;
}

bool MayRequest(Requester requester, const QUrl& origin, const QUrl& target)
{
    if (requester == Requester::Program)
        return true; // an address of the operator's, from the settings or the build
    const QString scheme = target.scheme().toLower();
    if (scheme == u"file")
        return requester == Requester::LocalFile;
    if (!IsAllowedForWeb(scheme))
        return false;
    const bool network = scheme == u"http" || scheme == u"https" || scheme == u"ws" || scheme == u"wss";
    if (network && requester == Requester::Web && IsPublicWebOrigin(origin) &&
        IsLocalNetworkHost(target.host()))
        return IsLocalEndpoint(target);
    return true;
}

void AllowLocalEndpoint(const QString& host, int port)
{
    LocalEndpoints().insert({host.toLower(), port});
}

} // namespace engine
