#include "browser/ErrorPage.h"

QString BuildErrorPage(const QString& failedUrl, const QString& errorText, int errorCode, int retryInMs)
{
    QString page = QStringLiteral("<html><body bgcolor=\"white\"><h2>Failed to load URL ") +
                   failedUrl.toHtmlEscaped() + QStringLiteral(" with error ") + errorText.toHtmlEscaped() +
                   QStringLiteral(" (") + QString::number(errorCode) + QStringLiteral(").</h2>");
    if (retryInMs >= 0) {
        // The link loads the address at once; the page itself tries again when the line says.
        page += QStringLiteral("<p>%1 秒后自动重试。<a href=\"%2\">重试</a></p>")
                    .arg((retryInMs + 999) / 1000)
                    .arg(failedUrl.toHtmlEscaped());
    }
    return page + QStringLiteral("</body></html>");
}
