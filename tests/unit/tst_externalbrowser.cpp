// Which site addresses may go to the user's browser, and in what form.
#include "platform/desktop/ExternalBrowser.h"

#include <QTest>

class TestExternalBrowser final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argument_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("argument"); // empty: not opened
        QTest::newRow("option") << "-x" << QString();
        QTest::newRow("long option") << "--flag=value" << QString();
        QTest::newRow("local file") << "file:///etc/passwd" << QString();
        QTest::newRow("script") << "javascript:alert(1)" << QString();
        QTest::newRow("no host") << "http:///path" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("shell text stays text") << "http://host/?a=$(touch f)"
                                               << "http://host/?a=$(touch%20f)";
        QTest::newRow("web address") << "https://host/path"
                                     << "https://host/path";
        QTest::newRow("Chinese path, encoded") << "http://host/论坛"
                                               << "http://host/%E8%AE%BA%E5%9D%9B";
    }
    void argument()
    {
        QFETCH(QString, address);
        QFETCH(QString, argument);
        const auto result = desktop::ExternalBrowserArgument(address);
        QCOMPARE(result.value_or(QString()), argument);
        if (result)
            QVERIFY(!result->startsWith(u'-'));
    }
};

QTEST_GUILESS_MAIN(TestExternalBrowser)
#include "tst_externalbrowser.moc"
