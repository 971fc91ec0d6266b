// The file changing under the open sheet: rows imported from a bank statement,
// or a backup restored from the frame's menu. The sheet reads the new rows in,
// after asking about rows typed on it and not stored; kept, they stop the
// change.

#include "SheetTestKit.h"
#include "shell/frmMain.h"
#include "shell/StatementImport.h"
#include "shell/Windows.h"

#include <QMenu>

using namespace sheetkit;

class tst_SheetReload : public QObject
{
    Q_OBJECT

    // The answer to the question about the row typed and not stored.
    static void typedRowAnswers()
    {
        QTest::addColumn<int>("dropTyped");
        QTest::newRow("typed row dropped") << vbYes;
        QTest::newRow("typed row kept") << vbNo;
    }

private slots:
    void importedRowsShown_data() { typedRowAnswers(); }

    void importedRowsShown()
    {
        QFETCH(int, dropTyped);
        Sheet s;
        s.add({.description = "Sugar"});
        frmTransactions& w = s.open();
        s.pick();
        s.clickCell(s.cash(), s.cash().Rows() - 3, Description);
        Sheet::type(s.cash(), QStringLiteral("Typed"));

        QList<ImportLine> lines{
            {{QDate(2026, 3, 20), Currency::fromRaw(-52500), "Mill", "Rye flour", "R1", "NL00", 1},
             "ref:NL00:R1",
             ImportLine::State::New,
             s.office}};
        QCOMPARE(ApplyImport(*dbStuff::DB, s.business, true, lines).imported, 1);
        DialogScript script;
        script.answer(dropTyped);
        emit dbStuff::Notifier::instance().transactionsImported();
        QVERIFY(script.messages().at(0).prompt.startsWith("Not stored on the cash sheet"));
        if (dropTyped == vbNo) {
            QCOMPARE(Sheet::column(s.cash(), Description, 1, s.cash().Rows() - 3),
                     (QStringList{"Sugar", "Typed"}));
            return;
        }
        QCOMPARE(Sheet::column(s.cash(), Description, 1, s.cash().Rows() - 4),
                 (QStringList{"Rye flour", "Sugar"}));
        QCOMPARE(Sheet::openEditor(w), QStringLiteral("none"));
    }

    void sheetShowsTheRestoredRows_data() { typedRowAnswers(); }

    void sheetShowsTheRestoredRows()
    {
        QFETCH(int, dropTyped);
        Sheet s;
        s.add({.description = "Flour"});
        s.add({.description = "Sugar", .receiptId = "2"});
        const qint64 dairy = s.raw->business("Dairy");
        const QString backup = s.env.root() + QStringLiteral("/Pendrel  01-Dec-2026 08.00.bak");
        QVERIFY(QFile::copy(s.file.path(), backup));
        // After the backup: a row deleted, one added, a business gone.
        s.raw->exec("DELETE FROM Transactions WHERE Description = 'Flour'");
        s.add({.description = "Yeast", .receiptId = "3"});
        s.raw->exec("DELETE FROM Businesses WHERE BusinessId = ?1", {dairy});
        frmTransactions& w = s.open();
        s.pick();
        QCOMPARE(Sheet::column(s.cash(), Description, 1, s.cash().Rows() - 4),
                 (QStringList{"Sugar", "Yeast"}));
        // An edit begun on the sheet belongs to the file being replaced: it
        // is committed and asked about before anything is replaced.
        s.clickCell(s.cash(), s.cash().Rows() - 3, Description);
        Sheet::type(s.cash(), QStringLiteral("Typed"));

        frmMain& frame = frmMain::instance();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        DialogScript script;
        script.chooseFile(backup).answer(vbYes).answer(dropTyped);
        QTest::keyClick(&frame, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(frame.mnuFile->isVisible());
        QTest::keyClick(QApplication::activePopupWidget(), 'r');
        QTRY_COMPARE(script.pending(), 0);

        QVERIFY(script.messages().last().prompt.startsWith(
            QStringLiteral("Not stored on the cash sheet")));
        if (dropTyped == vbNo) {
            // Nothing replaced: the typed row waits on the sheet.
            QCOMPARE(Sheet::column(s.cash(), Description, 1, s.cash().Rows() - 3),
                     (QStringList{"Sugar", "Yeast", "Typed"}));
            QCOMPARE(s.raw->count("Transactions"), 2);
            QCOMPARE(s.raw->count("Businesses"), 1);
            return;
        }
        QCOMPARE(Sheet::listOf(*w.cbobusiness), (QStringList{"Bakery", "Dairy"}));
        QCOMPARE(w.selectedBusiness(), std::optional<qint64>(s.business));
        QCOMPARE(Sheet::column(s.cash(), Description, 1, s.cash().Rows() - 4),
                 (QStringList{"Flour", "Sugar"}));
        QCOMPARE(Sheet::openEditor(w), QStringLiteral("none"));
        RawDb restored(s.file.path());
        QCOMPARE(restored
                     .value("SELECT group_concat(Description, ',') FROM "
                            "(SELECT Description FROM Transactions ORDER BY Description)")
                     .toString(),
                 QStringLiteral("Flour,Sugar"));
    }
};

QTEST_MAIN(tst_SheetReload)
#include "tst_sheetreload.moc"
