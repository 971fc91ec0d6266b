#include "shell/dbStuff.h"
#include "shell/Locations.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

using Ended = ShellEnvironment::ProgramEnded;

class tst_Locations : public QObject
{
    Q_OBJECT

private slots:
    // With nothing installed yet the program makes its own default folders
    // before it asks where the database is, so the locate dialog opens in
    // <data>/Zantoro and the first backup in <data>/Pendrel, never in the
    // working folder.
    void firstRunMakesTheDefaultFolders_data()
    {
        QTest::addColumn<bool>("dataFolderExists");
        QTest::newRow("empty data folder") << true;
        QTest::newRow("no data folder at all") << false;
    }

    void firstRunMakesTheDefaultFolders()
    {
        QFETCH(bool, dataFolderExists);
        ShellEnvironment env;
        QVERIFY(QDir(env.dataHome()).removeRecursively());
        if (dataFolderExists)
            QVERIFY(QDir().mkpath(env.dataHome()));
        const QString zantoro = env.dataHome() + QStringLiteral("/Zantoro");
        const QString pendrel = env.dataHome() + QStringLiteral("/Pendrel");
        bool madeWhileAsking = false;
        // No delivered database to install: the locate dialog comes.
        dbStuff::Locations::setDeliveredFolder(env.root() + QStringLiteral("/not installed"));
        const auto reset = qScopeGuard([] { dbStuff::Locations::setDeliveredFolder({}); });
        DialogScript script;
        script.cancelFile().whileOpen(
            [&] { madeWhileAsking = QFileInfo(zantoro).isDir() && QFileInfo(pendrel).isDir(); });

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QVERIFY(madeWhileAsking);
        QCOMPARE(script.files().size(), 1);
        QCOMPARE(script.files().at(0).initDir, zantoro + QLatin1Char('/'));
    }
};

QTEST_MAIN(tst_Locations)
#include "tst_locations.moc"
