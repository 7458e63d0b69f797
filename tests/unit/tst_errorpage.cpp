// The error page keeps its texts and shows hostile input as text.
#include "browser/ErrorPage.h"

#include <QTest>

class TestErrorPage final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactText()
    {
        QCOMPARE(BuildErrorPage("http://a.invalid/", "net::ERR_NAME_NOT_RESOLVED", -105),
                 QStringLiteral(
                     "<html><body bgcolor=\"white\"><h2>Failed to load URL http://a.invalid/ with error "
                     "net::ERR_NAME_NOT_RESOLVED (-105).</h2></body></html>"));
    }

    void retryLineAndLink()
    {
        // Seconds rounded up; the link is the failed address itself.
        QCOMPARE(
            BuildErrorPage("http://a.invalid/?a=1&b=2", "net::ERR_CONNECTION_REFUSED", -102, 3500),
            QStringLiteral(
                "<html><body bgcolor=\"white\"><h2>Failed to load URL http://a.invalid/?a=1&amp;b=2 "
                "with error net::ERR_CONNECTION_REFUSED (-102).</h2>"
                "<p>4 秒后自动重试。<a href=\"http://a.invalid/?a=1&amp;b=2\">重试</a></p></body></html>"));
    }

    void hostileTextIsEscaped()
    {
        const QString page =
            BuildErrorPage("http://x/?q=<script>alert(1)</script>&a=\"b\"", "<img src=x onerror=y>", -2);
        QVERIFY(!page.contains(QStringLiteral("<script>")));
        QVERIFY(!page.contains(QStringLiteral("<img")));
        QVERIFY(page.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;&amp;a=&quot;b&quot;")));
    }
};

QTEST_GUILESS_MAIN(TestErrorPage)
#include "tst_errorpage.moc"
