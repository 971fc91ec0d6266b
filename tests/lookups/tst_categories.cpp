// The categories window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmCategories.h"
#include "platform/widgets/Twips.h"
#include "shell/Windows.h"

#include <QSignalSpy>
#include <QTimer>

using namespace LookupDriver;

namespace {

const QString Save = QStringLiteral("save");
const QString Delete = QStringLiteral("delete");
const QString New = QStringLiteral("new");

struct Categories : Fixture<frmCategories>
{
    // Category, MoneyReceived, VAT, CashOrBank of every row, by id.
    QList<QVariantList> stored()
    {
        return raw.rows(QStringLiteral(
            "SELECT Category, MoneyReceived, VAT, CashOrBank FROM Categories ORDER BY CategoryId"));
    }
};

QVariantList row(const QString& name, bool credit, const QVariant& vat, int cashOrBank = 3)
{
    return {name, qlonglong(credit), vat, qlonglong(cashOrBank)};
}

} // namespace

class tst_Categories : public QObject
{
    Q_OBJECT

private slots:
    void opensWithBothListsAndTheDefaultPane()
    {
        Categories f;
        const qint64 sales = f.raw.category("Sales", true, 21.0);
        const qint64 fuel = f.raw.category("Fuel", false, 15.5);
        const qint64 post = f.raw.category("Postage", false, QVariant());
        const qint64 shop = f.raw.business("Shop", "NL5");
        const qint64 bank = f.raw.business("Bank account");
        frmCategories& w = f.open();

        QCOMPARE(rows(w.LV1), (QStringList{key('c', fuel) + "|Fuel|Debit|15.5",
                                           key('c', post) + "|Postage|Debit|",
                                           key('c', sales) + "|Sales|Credit|21"}));
        QCOMPARE(rows(w.LV2),
                 (QStringList{key('b', bank) + "|Bank account|n/a", key('b', shop) + "|Shop|NL5"}));
        QCOMPARE(selectedKey(w.LV1), QString());
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(w.cboType->Text(), QStringLiteral("Debit"));
        QCOMPARE(w.cboCashBank->Text(), QStringLiteral("Both bank and cash transactions"));
        QVERIFY(w.Toolbar1->ButtonEnabled(Save));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
    }

    void clickShowsTheCategoryAndASaveWritesItBack_data()
    {
        QTest::addColumn<bool>("credit");
        QTest::addColumn<QVariant>("vat");
        QTest::addColumn<QVariant>("cashOrBank");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("vatBox");
        QTest::addColumn<QString>("available");
        QTest::addColumn<int>("written");

        QTest::newRow("credit, cash") << true << QVariant(21.0) << QVariant(1) << "Credit"
                                      << "21"
                                      << "Cash transactions" << 1;
        QTest::newRow("debit, bank") << false << QVariant(6.5) << QVariant(2) << "Debit"
                                     << "6.5"
                                     << "Bank transactions" << 2;
        QTest::newRow("unknown place") << true << QVariant(21.0) << QVariant(7) << "Credit"
                                       << "21"
                                       << "Both bank and cash transactions" << 3;
        QTest::newRow("no VAT") << false << QVariant() << QVariant(1) << "Debit"
                                << ""
                                << "Cash transactions" << 1;
    }

    void clickShowsTheCategoryAndASaveWritesItBack()
    {
        QFETCH(bool, credit);
        QFETCH(QVariant, vat);
        QFETCH(QVariant, cashOrBank);
        QFETCH(QString, type);
        QFETCH(QString, vatBox);
        QFETCH(QString, available);
        QFETCH(int, written);
        Categories f;
        const qint64 id = f.raw.category("Misc", credit, vat);
        f.raw.exec(QStringLiteral("UPDATE Categories SET CashOrBank = ?1"), {cashOrBank});
        frmCategories& w = f.open();

        clickItem(w.LV1, key('c', id));
        QCOMPARE(w.etVAT->Text(), vatBox);
        QCOMPARE(w.cboType->Text(), type);
        QCOMPARE(w.cboCashBank->Text(), available);
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.stored(), QList<QVariantList>{row("Misc", credit, vat.toDouble(), written)});
        QCOMPARE(rows(w.LV1), QStringList{key('c', id) + "|Misc|" + type + "|" +
                                          QString::number(vat.toDouble())});
    }

    void aNewCategoryIsSavedOnceWithItsVatRead_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("vat");

        QTest::newRow("percent sign") << "15%" << 15.0;
        QTest::newRow("empty") << "" << 0.0;
    }

    void aNewCategoryIsSavedOnceWithItsVatRead()
    {
        QFETCH(QString, typed);
        QFETCH(double, vat);
        Categories f;
        frmCategories& w = f.open();

        typeInto(w.etCategory, QStringLiteral("Stationery"));
        typeInto(w.etVAT, typed);
        pickEntry(w.cboType, 1);
        pickEntry(w.cboCashBank, 1);
        pressButton(w.Toolbar1, Save);
        const qint64 id =
            f.raw.value(QStringLiteral("SELECT CategoryId FROM Categories")).toLongLong();
        pressButton(w.Toolbar1, Save); // a second save changes the same row

        QCOMPARE(f.stored(), QList<QVariantList>{row("Stationery", true, vat, 2)});
        QCOMPARE(rows(w.LV1),
                 QStringList{key('c', id) + "|Stationery|Credit|" + QString::number(vat)});
    }

    void deleteAsksAndLeavesAWindowThatCanOnlyAdd()
    {
        Categories f;
        const qint64 fuel = f.raw.category("Fuel", false, 21.0, 1);
        const qint64 sales = f.raw.category("Sales", true, 6.0, 2);
        const qint64 shop = f.raw.business("Shop");
        f.raw.allocate(fuel, shop);
        f.raw.transaction({.business = shop, .category = fuel});
        f.raw.transaction({.business = shop, .category = sales});
        frmCategories& w = f.open();
        clickItem(w.LV1, key('c', fuel));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script;
        script.answer(vbNo).answer(vbYes);

        pressButton(w.Toolbar1, Delete);
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), 2);
        pressButton(w.Toolbar1, Delete);

        expectBox(
            script.messages().at(0),
            QStringLiteral("Delete category: 'FUEL' and all transactions under that category?"),
            vbYesNo, vbQuestion);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Sales", true, 6.0, 2)});
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 0);
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(changed.count(), 1);
        // The pane still shows the deleted category, but nothing is selected.
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Fuel"));
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(),
                 (QList<QVariantList>{row("Sales", true, 6.0, 2), row("Fuel", false, 21.0, 1)}));
    }

    void clickingAnotherCategoryAsksOnlyAfterAnEdit_data()
    {
        QTest::addColumn<QVariant>("storedVat");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asks");

        QTest::newRow("name") << QVariant(21.0) << "etCategory"
                              << "Alpha 2" << true;
        QTest::newRow("same name") << QVariant(21.0) << "etCategory"
                                   << "Alpha" << false;
        QTest::newRow("VAT with percent sign") << QVariant(21.0) << "etVAT"
                                               << "21%" << true;
        // Nothing stored yet: typed text is a change, or it would be dropped unasked.
        QTest::newRow("VAT where none stored") << QVariant() << "etVAT"
                                               << "9" << true;
    }

    void clickingAnotherCategoryAsksOnlyAfterAnEdit()
    {
        QFETCH(QVariant, storedVat);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, asks);
        Categories f;
        const qint64 a = f.raw.category("Alpha", false, storedVat);
        const qint64 b = f.raw.category("Beta", true, 6.0);
        frmCategories& w = f.open();
        clickItem(w.LV1, key('c', a));
        typeInto(w.findChild<TextBox*>(box), text);
        DialogScript script;
        if (asks)
            script.answer(vbNo);

        clickItem(w.LV1, key('c', b));

        QCOMPARE(script.messages().size(), asks ? 1 : 0);
        if (asks)
            expectBox(script.messages().at(0), QStringLiteral("Do you want to save changes?"),
                      vbYesNo, vbQuestion);
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Beta"));
        QCOMPARE(w.cboType->Text(), QStringLiteral("Credit"));
        QCOMPARE(f.stored().at(0), row("Alpha", false, storedVat));
    }

    void onlyAToolbarSaveRefreshesTheSheetsPicker_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("notices");

        QTest::newRow("save button") << "toolbar" << 0 << "Alpha 2" << true << 1;
        QTest::newRow("close question, yes") << "close" << vbYes << "Alpha 2" << false << 0;
        QTest::newRow("click question, yes") << "click" << vbYes << "Alpha 2" << true << 0;
    }

    void onlyAToolbarSaveRefreshesTheSheetsPicker()
    {
        QFETCH(QString, path);
        QFETCH(int, answer);
        QFETCH(QString, stored);
        QFETCH(bool, open);
        QFETCH(int, notices);
        Categories f;
        const qint64 a = f.raw.category("Alpha", false);
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        dbStuff::SheetOpen = true;
        clickItem(w.LV1, key('c', a));
        typeInto(w.etCategory, QStringLiteral("Alpha 2"));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script;
        if (answer)
            script.answer(answer);

        if (path == QLatin1String("toolbar"))
            pressButton(w.Toolbar1, Save);
        else if (path == QLatin1String("close"))
            pressButton(w.Toolbar1, QStringLiteral("close"));
        else
            clickItem(w.LV1, key('c', b));

        if (path == QLatin1String("close"))
            expectBox(script.messages().at(0),
                      QStringLiteral("Save changes before closing this window?"), vbYesNoCancel,
                      vbQuestion);
        QCOMPARE(f.stored().at(0).at(0).toString(), stored);
        QCOMPARE(w.isVisible(), open);
        QCOMPARE(changed.count(), notices);
    }

    void aReceiverMovingTheSharedTableDoesNotMisleadTheWindow()
    {
        Categories f;
        const qint64 a = f.raw.category("Alpha", false);
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        clickItem(w.LV1, key('c', a));
        // An open sheet looking a category up when told of the change.
        connect(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged, &w,
                [&] { dbStuff::rsCategories->Seek(QStringLiteral("="), Variant(b)); });

        pressButton(w.Toolbar1, Save);

        QCOMPARE(dbStuff::rsCategories->field(QStringLiteral("Category")).toText(),
                 QStringLiteral("Alpha"));
        QVERIFY(!w.IsDirty());
    }

    void aWindowThatCannotLoadShowsTheErrorAndStaysShut()
    {
        Categories f;
        f.env.openDatabase(f.file.path());
        f.raw.exec(QStringLiteral("DROP TABLE relCat_Bis"));
        DialogScript script;
        script.answer(vbOK);
        bool opened = false;
        QTimer poll; // closes the window should it open after all
        connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        poll.start(10);

        frmCategories::Show();

        QVERIFY(!opened);
        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages().at(0).prompt.startsWith(QStringLiteral("Error ")));
    }
};

QTEST_MAIN(tst_Categories)
#include "tst_categories.moc"
