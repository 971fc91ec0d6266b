// The categories window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmCategories.h"
#include "shell/Windows.h"

#include <QSignalSpy>

using namespace LookupDriver;

namespace {

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
    void clickShowsTheCategoryAndASaveWritesItBack_data()
    {
        QTest::addColumn<bool>("credit");
        QTest::addColumn<QVariant>("vat");
        QTest::addColumn<int>("cashOrBank");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("vatText");
        QTest::addColumn<QString>("available");
        QTest::addColumn<int>("written");

        QTest::newRow("credit, cash") << true << QVariant(21.0) << 1 << "Credit"
                                      << "21"
                                      << "Cash transactions" << 1;
        QTest::newRow("debit, bank") << false << QVariant(6.5) << 2 << "Debit"
                                     << "6.5"
                                     << "Bank transactions" << 2;
        QTest::newRow("unknown place") << true << QVariant(21.0) << 7 << "Credit"
                                       << "21"
                                       << "Both bank and cash transactions" << 3;
        QTest::newRow("no VAT") << false << QVariant() << 1 << "Debit"
                                << ""
                                << "Cash transactions" << 1;
    }

    void clickShowsTheCategoryAndASaveWritesItBack()
    {
        QFETCH(bool, credit);
        QFETCH(QVariant, vat);
        QFETCH(int, cashOrBank);
        QFETCH(QString, type);
        QFETCH(QString, vatText);
        QFETCH(QString, available);
        QFETCH(int, written);
        Categories f;
        const qint64 id = f.raw.category("Misc", credit, vat, cashOrBank);
        frmCategories& w = f.open();
        QCOMPARE(rows(w.LV1), QStringList{c(id) + "|Misc|" + type + "|" + vatText});
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        clickItem(w.LV1, c(id));
        QCOMPARE(w.etVAT->Text(), vatText);
        QCOMPARE(w.cboType->Text(), type);
        QCOMPARE(w.cboCashBank->Text(), available);
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.stored(), QList<QVariantList>{row("Misc", credit, vat.toDouble(), written)});
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
        pressButton(w.Toolbar1, Save); // a second save changes the same row

        QCOMPARE(f.stored(), QList<QVariantList>{row("Stationery", true, vat, 2)});
        QCOMPARE(w.LV1->Count(), 1);
    }

    // After a delete nothing is selected and a save adds, never overwrites.
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
        clickItem(w.LV1, c(fuel));
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
        QCOMPARE(changed.count(), 1);
        QVERIFY(!w.LV1->SelectedItem());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(),
                 (QList<QVariantList>{row("Sales", true, 6.0, 2), row("Fuel", false, 21.0, 1)}));
    }

    // An edit is kept through the save button or a Yes to either question; only
    // the save button tells an open sheet to refresh its picker.
    void anEditIsSavedThroughTheButtonOrAQuestion_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QVariant>("storedVat");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt"); // "": no question expected
        QTest::addColumn<QVariantList>("after");
        QTest::addColumn<int>("notices");

        const QString close = QStringLiteral("Save changes before closing this window?");
        const QString click = QStringLiteral("Do you want to save changes?");
        QTest::newRow("save button") << "toolbar" << QVariant(21.0) << "etCategory"
                                     << "Alpha 2"
                                     << "" << row("Alpha 2", false, 21.0) << 1;
        QTest::newRow("close, yes") << "close" << QVariant(21.0) << "etCategory"
                                    << "Alpha 2" << close << row("Alpha 2", false, 21.0) << 0;
        QTest::newRow("click, yes") << "click" << QVariant(21.0) << "etCategory"
                                    << "Alpha 2" << click << row("Alpha 2", false, 21.0) << 0;
        QTest::newRow("click, same name") << "click" << QVariant(21.0) << "etCategory"
                                          << "Alpha"
                                          << "" << row("Alpha", false, 21.0) << 0;
        // Nothing stored yet: typed text is a change, or it would be dropped unasked.
        QTest::newRow("click, VAT where none stored")
            << "click" << QVariant() << "etVAT"
            << "9" << click << row("Alpha", false, 9.0) << 0;
    }

    void anEditIsSavedThroughTheButtonOrAQuestion()
    {
        QFETCH(QString, how);
        QFETCH(QVariant, storedVat);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, prompt);
        QFETCH(QVariantList, after);
        QFETCH(int, notices);
        Categories f;
        const qint64 first = f.raw.category("Alpha", false, storedVat);
        const qint64 second = f.raw.category("Beta", true, 6.0);
        frmCategories& w = f.open();
        dbStuff::SheetOpen = true;
        clickItem(w.LV1, c(first));
        typeInto(w.findChild<TextBox*>(box), text);
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script;
        if (!prompt.isEmpty())
            script.answer(vbYes);

        if (how == QLatin1String("toolbar"))
            pressButton(w.Toolbar1, Save);
        else if (how == QLatin1String("close"))
            pressButton(w.Toolbar1, Close);
        else
            clickItem(w.LV1, c(second));

        QCOMPARE(script.messages().size(), prompt.isEmpty() ? 0 : 1);
        if (!prompt.isEmpty())
            QCOMPARE(script.messages().at(0).prompt, prompt);
        QCOMPARE(f.stored().at(0), after);
        QCOMPARE(w.isVisible(), how != QLatin1String("close"));
        if (how == QLatin1String("click"))
            QCOMPARE(w.etCategory->Text(), QStringLiteral("Beta"));
        QCOMPARE(changed.count(), notices);
    }

    void aWindowThatCannotLoadShowsTheErrorAndStaysShut()
    {
        Categories f;
        f.env.openDatabase(f.file.path());
        f.raw.exec(QStringLiteral("DROP TABLE relCat_Bis"));
        DialogScript script;
        script.answer(vbOK);

        QCOMPARE(modalTitle([] { frmCategories::Show(); }), QString());
        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages().at(0).prompt.startsWith(QStringLiteral("Error ")));
    }
};

QTEST_MAIN(tst_Categories)
#include "tst_categories.moc"
