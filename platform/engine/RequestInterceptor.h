#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace engine {

// Applies the request policy to every request of every page of the profile: navigations of every
// frame, redirects, sub-resources, fetch() and XMLHttpRequest. A refused request fails as blocked.
class RequestInterceptor final : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

} // namespace engine
