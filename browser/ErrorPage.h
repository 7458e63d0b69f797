#pragma once

#include <QString>

// The page shown in place of a page that failed to load. The address and the engine's text are
// escaped, so that a crafted address shows as text and never runs in the page. A load that is
// tried again in retryInMs (not when negative) says so, with a link that tries at once.
QString BuildErrorPage(const QString& failedUrl, const QString& errorText, int errorCode, int retryInMs = -1);
