#include "shell/dbStuff.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QTest>

class tst_ErrorBox : public QObject
{
    Q_OBJECT

private slots:
    void reportError_data()
    {
        QTest::addColumn<long>("number");
        QTest::addColumn<QString>("prompt");

        QTest::newRow("5") << 5L
                           << QStringLiteral("Error 5:  Invalid procedure call or argument\r\r");
        QTest::newRow("3021") << 3021L << QStringLiteral("Error 3021:  No current record.\r\r");
    }

    void reportError()
    {
        QFETCH(long, number);
        QFETCH(QString, prompt);
        ShellEnvironment env;
        DialogScript script;
        script.answer(vbOK);
        dbStuff::Answer = vbNo;

        dbStuff::ReportError(number);

        const MessageRequest& box = script.messages().at(0);
        QCOMPARE(box.prompt, prompt);
        QCOMPARE(box.icon(), vbCritical);
        QCOMPARE(box.buttons(), vbOKOnly);
        QCOMPARE(box.title, QStringLiteral("Zantoro"));
        QCOMPARE(dbStuff::Answer, vbNo); // not a question: the last answer stays
    }

    void idFromKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<long>("id");
        QTest::addColumn<long>("error"); // 0: no error box

        QTest::newRow("category") << QStringLiteral("c12") << 12L << 0L;
        QTest::newRow("letter only") << QStringLiteral("b") << 0L << 0L;
        QTest::newRow("empty key") << QString() << 0L << 5L;
        QTest::newRow("not a number") << QStringLiteral("cX") << 0L << 13L;
        QTest::newRow("beyond a Long") << QStringLiteral("b2147483648") << 0L << 6L;
    }

    void idFromKey()
    {
        QFETCH(QString, key);
        QFETCH(long, id);
        QFETCH(long, error);
        ShellEnvironment env;
        DialogScript script;
        if (error)
            script.answer(vbOK);

        QCOMPARE(dbStuff::IdFromKey(key), id);

        if (error) {
            QVERIFY2(
                script.messages().at(0).prompt.startsWith(QStringLiteral("Error %1:  ").arg(error)),
                qPrintable(script.messages().at(0).prompt));
            QCOMPARE(script.messages().at(0).icon(), vbCritical);
        } else {
            QCOMPARE(script.shown(), 0);
        }
    }
};

QTEST_MAIN(tst_ErrorBox)
#include "tst_errorbox.moc"
