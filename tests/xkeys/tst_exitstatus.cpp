// The program as a script sees it: started as its own process on a real X
// display, answered with X keys, and judged by its exit status alone.

#include "support/TestDatabase.h"
#include "support/XSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs until the process has ended (at most the time given), serving the
// test's own events meanwhile; whether it ended.
bool ended(QProcess& process, int ms)
{
    QDeadlineTimer deadline(ms);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return process.state() == QProcess::NotRunning;
}

// Runs xdotool with the arguments; its standard output, trimmed.
QString xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    ended(p, 15000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The first shown window whose name matches the pattern, waited for up to
// 10 s (the program also owns hidden windows of the same name).
QString windowNamed(const QString& pattern)
{
    for (int i = 0; i < 100; ++i) {
        const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--name"), pattern})
                                  .section(u'\n', 0, 0);
        if (!found.isEmpty())
            return found;
        QTest::qWait(100);
    }
    return {};
}

// Gives the window the keyboard (a bare X server has no window manager to
// do it) and presses the keys.
void pressIn(const QString& window, const QStringList& keys)
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    for (const QString& key : keys) {
        xdotool({QStringLiteral("key"), key});
        QTest::qWait(700); // a menu opened by the key takes the keyboard
    }
}

} // namespace

class tst_ExitStatus : public QObject
{
    Q_OBJECT

private slots:
    void statusTellsHowTheProgramEnded_data()
    {
        QTest::addColumn<QString>("file");     // what the stored database path holds
        QTest::addColumn<QString>("window");   // the window that waits for the user
        QTest::addColumn<QStringList>("keys"); // pressed in it
        QTest::addColumn<int>("status");
        // No settings, no data folder: the delivered database is installed.
        QTest::newRow("first run, closed") << "first run"
                                           << "^Zantoro$" << QStringList{"alt+f", "e"} << 0;
        QTest::newRow("closed by the user") << "database"
                                            << "^Zantoro$" << QStringList{"alt+f", "e"} << 0;
        QTest::newRow("a file that is no database") << "junk"
                                                    << "^Zantoro$" << QStringList{"Return"} << 1;
        QTest::newRow("locating the file cancelled")
            << "missing"
            << "Zantoro|database" << QStringList{"Escape"} << 2;
    }

    void statusTellsHowTheProgramEnded()
    {
        QFETCH(QString, file);
        QFETCH(QString, window);
        QFETCH(QStringList, keys);
        QFETCH(int, status);
        QTemporaryDir home;
        const QString data = home.filePath(QStringLiteral("data"));
        const QString config = home.filePath(QStringLiteral("config"));
        const bool firstRun = file == QLatin1String("first run");
        QVERIFY(firstRun || QDir().mkpath(data + QStringLiteral("/Zantoro")));
        QVERIFY(firstRun || QDir().mkpath(config + QStringLiteral("/Zantoro")));
        const QString path = data + QStringLiteral("/Zantoro/Zantoro.mdb");
        TempDatabase delivered;
        if (file == QLatin1String("database"))
            QVERIFY(QFile::copy(delivered.path(), path));
        if (file == QLatin1String("junk"))
            QVERIFY(writeBytes(path, QByteArray(4096, 'x')));
        if (!firstRun)
            QVERIFY(writeBytes(config + QStringLiteral("/Zantoro/Zantoro.conf"),
                               "[FILELOCATIONS]\nDATABASE=" + path.toUtf8() + "\n"));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZANTORO_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        const QString shown = windowNamed(window);
        QVERIFY2(!shown.isEmpty(), "the program showed no window to answer");
        // Every window carries the program's own icon, not the toolkit's.
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), shown, QStringLiteral("_NET_WM_ICON")});
        QVERIFY(ended(xprop, 10000));
        const QByteArray iconProperty = xprop.readAllStandardOutput();
        QVERIFY2(iconProperty.contains("Icon (128 x 128)"), iconProperty.left(200).constData());
        // Keys pressed before the window has taken the focus are lost: tried
        // again while the program runs on.
        for (int attempt = 0; attempt < 5 && program.state() != QProcess::NotRunning; ++attempt) {
            QTest::qWait(1000);
            pressIn(shown, keys);
            QTest::qWait(2000);
        }
        QVERIFY2(ended(program, 5000), "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        if (firstRun) {
            QVERIFY(QFile::exists(path));
            const QString reports = QStringLiteral("SELECT * FROM Reports ORDER BY 1");
            QCOMPARE(RawDb(path).rows(reports), RawDb(delivered.path()).rows(reports));
        }
    }
};

XKEYS_MAIN(tst_ExitStatus)
#include "tst_exitstatus.moc"
