#include "platform/engine/RequestInterceptor.h"

#include "platform/engine/RequestPolicy.h"

namespace engine {

void RequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const QUrl initiator = info.initiator();
    Requester requester = Requester::Web;
    if (initiator.isEmpty()) {
        // Only the program starts a main-frame load without a document behind it; anything else
        // without an initiator comes from an opaque origin (a sandboxed or data: frame).
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            requester = Requester::Program;
    } else if (initiator.scheme() == u"file") {
        requester = Requester::LocalFile;
    }
    if (!MayRequest(requester, initiator, info.requestUrl()))
        info.block(true);
}

} // namespace engine
