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
        QTest::newRow("comma, blanks") << QStringLiteral("/home/ann/My, data/Pendrel  x.bak");
        QTest::newRow("quotes and equals") << QStringLiteral("a=\"b\";c#d");
        QTest::newRow("non-ascii") << QStringLiteral("/home/zoë/Bücher.mdb");
    }

    void valuesComeBackAsWritten()
    {
        QFETCH(QString, value);
        SaveSetting("Zantoro", "FILELOCATIONS", "DATABASE", value);
        QCOMPARE(GetSetting("Zantoro", "FILELOCATIONS", "DATABASE", "default"), value);
        // Same key, other section: an independent value.
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
        QTest::newRow("unquoted commas")
            << QByteArray("[FILELOCATIONS]\nDATABASE=/a, b/Zantoro.mdb\n")
            << QStringLiteral("/a, b/Zantoro.mdb");
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
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
