// Rows imported from a bank statement while the sheet is open: the sheet
// reads them in, after asking about rows typed on it and not stored.

#include "SheetTestKit.h"
#include "shell/StatementImport.h"
#include "shell/Windows.h"

using namespace sheetkit;

class tst_SheetImport : public QObject
{
    Q_OBJECT

private slots:
    void importedRowsShown_data()
    {
        QTest::addColumn<int>("dropTyped"); // the answer to the question about the typed row
        QTest::newRow("typed row dropped") << vbYes;
        QTest::newRow("typed row kept") << vbNo;
    }

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
};

QTEST_MAIN(tst_SheetImport)
#include "tst_sheetimport.moc"
