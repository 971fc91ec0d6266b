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

        const auto add = [](const char* name, bool credit, QVariant vat, int cashOrBank,
                            const char* type, const char* vatText, const char* available,
                            int written) {
            QTest::newRow(name) << credit << vat << cashOrBank << QString(type) << QString(vatText)
                                << QString(available) << written;
        };
        add("credit, cash", true, 21.0, 1, "Credit", "21", "Cash transactions", 1);
        add("debit, bank", false, 6.5, 2, "Debit", "6.5", "Bank transactions", 2);
        add("unknown place", true, 21.0, 7, "Credit", "21", "Both bank and cash transactions", 3);
        add("no VAT, saved as 0", false, {}, 1, "Debit", "", "Cash transactions", 1);
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

    // After a delete nothing is selected and a save adds, never overwrites; a
    // second save of the new category changes the row it added.
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

        typeInto(w.etVAT, QStringLiteral("15%"));
        pressButton(w.Toolbar1, Save);
        pressButton(w.Toolbar1, Save); // a second save changes the same row
        QCOMPARE(f.stored(),
                 (QList<QVariantList>{row("Sales", true, 6.0, 2), row("Fuel", false, 15.0, 1)}));
        QCOMPARE(w.LV1->Count(), 2);
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
        // The last three columns: what the file holds after, and the notices.
        const auto add = [](const char* name, const char* how, QVariant storedVat, const char* box,
                            const char* text, const QString& prompt, const char* category,
                            double vat, int notices) {
            QTest::newRow(name) << QString(how) << storedVat << QString(box) << QString(text)
                                << prompt << row(category, false, vat) << notices;
        };
        add("save button", "toolbar", 21.0, "etCategory", "Alpha 2", {}, "Alpha 2", 21.0, 1);
        add("close, yes", "close", 21.0, "etCategory", "Alpha 2", close, "Alpha 2", 21.0, 0);
        add("click, yes", "click", 21.0, "etCategory", "Alpha 2", click, "Alpha 2", 21.0, 0);
        add("click, same name", "click", 21.0, "etCategory", "Alpha", {}, "Alpha", 21.0, 0);
        // Nothing stored yet: typed text is a change, or it would be dropped unasked.
        add("click, VAT where none stored", "click", {}, "etVAT", "9", click, "Alpha", 9.0, 0);
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
