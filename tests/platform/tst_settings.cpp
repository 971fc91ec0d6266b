#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_Settings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString file() const { return SettingsStore::filePath(QStringLiteral("Zantoro")); }
    void writeFile(const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(file()).absolutePath());
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        SettingsStore::setFolder(m_dir.path());
        QFile::remove(file());
    }

    void cleanupTestCase() { SettingsStore::setFolder(QString()); }

    void missingKeyGivesTheDefault()
    {
        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "BACKUP", "C:\\Program files\\Pendrel"),
                 QStringLiteral("C:\\Program files\\Pendrel"));
        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "DATABASE"), QString());
        QVERIFY(!QFile::exists(file())); // reading creates nothing
    }

    void valuesComeBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("windows path") << QStringLiteral("C:\\Program Files\\Zantoro\\Zantoro.mdb");
        QTest::newRow("comma") << QStringLiteral("/home/ann/My, data/Zantoro.mdb");
        QTest::newRow("two blanks") << QStringLiteral("/b/Pendrel  05-Dec-2026 14.07.bak");
        QTest::newRow("sql") << QStringLiteral("ORDER BY Transactions.receiptid;");
        QTest::newRow("quotes and equals") << QStringLiteral("a=\"b\";c#d");
        QTest::newRow("non-ascii") << QStringLiteral("/home/zoë/Bücher.mdb");
        QTest::newRow("empty") << QString();
    }

    void valuesComeBackAsWritten()
    {
        QFETCH(QString, value);
        SaveSetting("Zantoro", "FILELOCATIONS", "DATABASE", value);
        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "DATABASE", "default"), value);
    }

    void sectionsAreGroupsOfOneFile()
    {
        SaveSetting("Zantoro", "SETTINGS", "SORTSQL", "ORDER BY Transactions.relation;");
        SaveSetting("Zantoro", "FILELOCATIONS", "DATABASE", "/x/Zantoro.mdb");

        QCOMPARE(file(), m_dir.path() + QStringLiteral("/Zantoro/Zantoro.conf"));
        QFile in(file());
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(in.readAll());
        QVERIFY(text.contains(QStringLiteral("[SETTINGS]")));
        QVERIFY(text.contains(QStringLiteral("[FILELOCATIONS]")));
        // Same key, other section: independent values.
        QCOMPARE(GetSetting("Zantoro", "SETTINGS", "DATABASE", "none"), QStringLiteral("none"));
    }

    void damagedFileNeverFails_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("database"); // what DATABASE reads as

        QTest::newRow("binary junk")
            << QByteArray("\x00\xff\xfe[\x01=\x02\n\x80\x81", 10) << QStringLiteral("default");
        QTest::newRow("unclosed group")
            << QByteArray("[FILELOCATIONS\nDATABASE=/a.mdb\n") << QStringLiteral("/a.mdb");
        QTest::newRow("stray lines")
            << QByteArray("DATABASE\n=\n==x\n[]\n[FILELOCATIONS]]\n") << QStringLiteral("default");
        QTest::newRow("unquoted commas")
            << QByteArray("[FILELOCATIONS]\nDATABASE=/a, b/Zantoro.mdb\n")
            << QStringLiteral("/a, b/Zantoro.mdb");
        QTest::newRow("bad variant") << QByteArray("[FILELOCATIONS]\nDATABASE=@Variant(\\0\\0)\n")
                                     << QStringLiteral("default");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("default");
    }

    void damagedFileNeverFails()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, database);
        writeFile(content);

        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "DATABASE", "default"), database);
        QCOMPARE(GetSetting("Zantoro", "SETTINGS", "SORTSQL", "ORDER BY Transactions.receiptid;"),
                 QStringLiteral("ORDER BY Transactions.receiptid;"));
        // The program still remembers what it stores.
        SaveSetting("Zantoro", "FILELOCATIONS", "BACKUP", "/b/x.bak");
        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "BACKUP"), QStringLiteral("/b/x.bak"));
    }

    void defaultFolderFollowsXdgConfigHome()
    {
        const QByteArray old = qgetenv("XDG_CONFIG_HOME");
        SettingsStore::setFolder(QString());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
        const QString withXdg = SettingsStore::filePath("Zantoro");
        qputenv("XDG_CONFIG_HOME", "relative/ignored");
        const QString withRelative = SettingsStore::filePath("Zantoro");
        qputenv("XDG_CONFIG_HOME", old);
        SettingsStore::setFolder(m_dir.path());

        QCOMPARE(withXdg, m_dir.path() + QStringLiteral("/Zantoro/Zantoro.conf"));
        QCOMPARE(withRelative, QDir::homePath() + QStringLiteral("/.config/Zantoro/Zantoro.conf"));
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
