#include "shell/frmImport.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// Three lines of Bakker, one of Jansen (whose category is proposed), between
// balances 1000.00 and 1300.00.
const QByteArray Statement1 = ":20:S1\n:25:10020030/1\n:60F:C260301EUR1000,00\n"
                              ":61:2603020302CR100,00NTRFNONREF//B1\n:86:166?20Bread?32Bakker\n"
                              ":61:2603030303DR20,00NTRFNONREF//B2\n:86:166?20Flour\n?32Bakker\n"
                              ":61:2603040304CR200,00NTRFNONREF//B3\n:86:166?20Cakes?32BAKKER\n"
                              ":61:2603050305CR20,00NTRFNONREF//B4\n:86:166?20Rent?32Jansen\n"
                              ":62F:C260305EUR1300,00\n-\n";
// Overlaps the first on B3 and B4 and brings B5.
const QByteArray Statement2 = ":20:S2\n:25:10020030/1\n:60F:C260303EUR1080,00\n"
                              ":61:2603040304CR200,00NTRFNONREF//B3\n:86:166?20Cakes?32BAKKER\n"
                              ":61:2603050305CR20,00NTRFNONREF//B4\n:86:166?20Rent?32Jansen\n"
                              ":61:2603060306CR5,00NTRFNONREF//B5\n:86:166?20Rent?32Jansen\n"
                              ":62F:C260306EUR1305,00\n-\n";

QStringList column(const frmImport& w, int col)
{
    QStringList texts;
    for (int r = 0; r < w.grdLines->rowCount(); ++r)
        texts << w.grdLines->item(r, col)->text();
    return texts;
}

} // namespace

class tst_ImportWindow : public QObject
{
    Q_OBJECT

private slots:
    void previewPickImportAgain()
    {
        ShellEnvironment env;
        TempDatabase file;
        RawDb raw(file.path());
        const qint64 bakery = raw.business(QStringLiteral("Bakery"));
        const qint64 sales = raw.category(QStringLiteral("Sales"), true);
        const qint64 flour = raw.category(QStringLiteral("Flour"), false);
        raw.allocate(sales, bakery);
        raw.allocate(flour, bakery);
        raw.transaction({bakery, sales, "2026-01-10", false, true, 1, "x", "Jansen"});
        env.openDatabase(file.path());
        const QString first = file.filePath(QStringLiteral("march.sta"));
        const QString second = file.filePath(QStringLiteral("overlap.sta"));
        for (const auto& [path, bytes] : {std::pair{first, Statement1}, {second, Statement2}})
            QVERIFY(writeBytes(path, bytes));

        {
            frmImport w(first);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(
                column(w, frmImport::ColState),
                (QStringList{"needs a category", "needs a category", "needs a category", "new"}));
            QCOMPARE(column(w, frmImport::ColCategory), (QStringList{"", "", "", "Sales"}));
            // The user clicks Bakker's second line, types the category's first
            // letters and uses it for the counterparty.
            QTest::mouseClick(w.grdLines->viewport(), Qt::LeftButton, {},
                              w.grdLines->visualItemRect(w.grdLines->item(1, 0)).center());
            w.cboCategory->setFocus();
            QTest::keyClicks(w.cboCategory, QStringLiteral("Sa"));
            QCOMPARE(w.cboCategory->currentText(), QStringLiteral("Sales"));
            QTest::mouseClick(w.cmdPick, Qt::LeftButton);
            QCOMPARE(column(w, frmImport::ColCategory),
                     (QStringList{"Sales", "Sales", "Sales", "Sales"}));
            QCOMPARE(w.lblStatus->text(), "4 new, 0 already imported, 0 need a category");
            DialogScript script;
            script.answer(vbOK);
            QTest::mouseClick(w.cmdImport, Qt::LeftButton);
            QCOMPARE(script.messages().at(0).prompt, "4 lines imported, 0 left out.");
            QCOMPARE(column(w, frmImport::ColState), QStringList(4, "already imported"));
            QVERIFY(!w.cmdImport->isEnabled());
        }
        // Credited minus debited of the statement's rows: closing minus opening
        // (Flour received under Sales counts down).
        const QString sum = "SELECT round(sum(CASE WHEN MoneyIn THEN TotalPrice ELSE -TotalPrice "
                            "END), 2) FROM Transactions WHERE TransactionDate >= '2026-03-01'";
        QCOMPARE(raw.value(sum).toDouble(), 300.0);
        QCOMPARE(raw.count(QStringLiteral("Transactions")), 5);

        // Again: nothing new. The overlapping file adds B5 alone.
        {
            frmImport w(first);
            QCOMPARE(column(w, frmImport::ColState), QStringList(4, "already imported"));
            QVERIFY(!w.cmdImport->isEnabled());
        }
        {
            frmImport w(second);
            QCOMPARE(column(w, frmImport::ColState),
                     (QStringList{"already imported", "already imported", "new"}));
            DialogScript script;
            script.answer(vbOK);
            w.cmdImport->click();
        }
        QCOMPARE(raw.count(QStringLiteral("Transactions")), 6);
        QCOMPARE(raw.value(sum).toDouble(), 305.0);
    }

    // A CSV file is read by the mapping set above its lines; saved by its
    // name, the mapping is offered and used at once the next time.
    void csvMappingSavedByName()
    {
        ShellEnvironment env;
        TempDatabase file;
        RawDb raw(file.path());
        raw.business(QStringLiteral("Bakery"));
        env.openDatabase(file.path());
        const QString path = file.filePath(QStringLiteral("bank.csv"));
        const QByteArray csv = "\xEF\xBB\xBF"
                               "Booked|Amount|Who|What\r\n"
                               "2026/03/02|1 250.5|Bakker|\"a|b\"\r\n2026/03/03|-2|Esso|fuel\r\n";
        QVERIFY(writeBytes(path, csv));
        {
            DialogScript script;
            script.answer(vbOK); // the default mapping does not fit the file
            frmImport w(path);
            QVERIFY2(w.message().startsWith("line 2: "), qPrintable(w.message()));
            w.cboMapping->setEditText(QStringLiteral("My bank"));
            CsvMapping m;
            m.separator = QLatin1Char('|');
            m.datePattern = QStringLiteral("yyyy/MM/dd");
            m.decimalMark = QLatin1Char('.');
            m.counterparty = 2;
            m.text = 3;
            w.txtMapping->setText(m.toText());
            QTest::mouseClick(w.cmdReadAgain, Qt::LeftButton);
            QCOMPARE(w.message(), QString());
            QCOMPARE(column(w, frmImport::ColAmount), (QStringList{"1,250.50", "-2.00"}));
        }
        frmImport again(path);
        QCOMPARE(again.cboMapping->currentText(), QStringLiteral("My bank"));
        QCOMPARE(column(again, frmImport::ColText), (QStringList{"a|b", "fuel"}));
    }

    void malformedRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("truncated xml")
            << QByteArray("<?xml version=\"1.0\"?>\n<Document><BkToCstmrStmt><Stmt>\n<Ntry>")
            << "line 3: the file ends before its XML is complete";
        QTest::newRow("date") << QByteArray(":20:S\n:61:2602300230CR1,00NTRFNONREF//B1\n")
                              << "line 2: the date 260230 is not a date";
        QTest::newRow("amount") << QByteArray("<?xml version=\"1.0\"?>\n<Document><BkToCstmrStmt>"
                                              "<Stmt><Ntry>\n<Amt>ten</Amt></Ntry></Stmt>"
                                              "</BkToCstmrStmt></Document>")
                                << "line 3: the amount ten is not a number";
    }

    void malformedRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        ShellEnvironment env;
        TempDatabase file;
        RawDb raw(file.path());
        raw.business(QStringLiteral("Bakery"));
        env.openDatabase(file.path());
        const QString path = file.filePath(QStringLiteral("bad"));
        QVERIFY(writeBytes(path, content));
        DialogScript script;
        script.answer(vbOK);
        frmImport w(path);
        QCOMPARE(w.message(), reason);
        QCOMPARE(script.messages().at(0).prompt,
                 "The statement cannot be imported:\r" + path + "\r\r" + reason);
        QCOMPARE(w.grdLines->rowCount(), 0);
        QVERIFY(!w.cmdImport->isEnabled());
        QCOMPARE(raw.count(QStringLiteral("Transactions")), 0);
    }
};

QTEST_MAIN(tst_ImportWindow)
#include "tst_importwindow.moc"
