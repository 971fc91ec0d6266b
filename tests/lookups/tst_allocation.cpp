// Allocating categories to businesses with the check boxes of the categories
// window, and a new user's first steps from the delivered empty database.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/frmCategories.h"
#include "shell/Windows.h"

#include <QSignalSpy>

using namespace LookupDriver;

namespace {

struct Allocation : Fixture<frmCategories>
{
    // The allocations as "category id/business id", in key order.
    QStringList pairs()
    {
        QStringList result;
        for (const QVariantList& row :
             raw.rows(QStringLiteral("SELECT CatId, Busid FROM relCat_Bis ORDER BY CatId, Busid")))
            result << row.at(0).toString() + QLatin1Char('/') + row.at(1).toString();
        return result;
    }
};

QString pair(qint64 category, qint64 business)
{
    return QStringLiteral("%1/%2").arg(category).arg(business);
}

} // namespace

class tst_Allocation : public QObject
{
    Q_OBJECT

private slots:
    void tickingAddsOneRowAndUntickingRemovesIt()
    {
        Allocation f;
        const qint64 fuel = f.raw.category("Fuel", false, 21.0, 1);
        const qint64 shop = f.raw.business("Shop");
        frmCategories& w = f.open();
        clickItem(w.LV1, c(fuel));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script; // no message box may come

        clickItem(w.LV2, b(shop), true);
        QCOMPARE(f.pairs(), QStringList{pair(fuel, shop)});
        QCOMPARE(ticked(w.LV2), QStringList{b(shop)});
        QCOMPARE(pickerOffers(shop, 1), QStringList{"Fuel"});
        QCOMPARE(pickerOffers(shop, 2), QStringList()); // a cash-only category

        clickItem(w.LV2, b(shop), true);
        QCOMPARE(f.pairs(), QStringList());
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(pickerOffers(shop, 1), QStringList());
        QCOMPARE(changed.count(), 2);

        // A box out of step with the file writes nothing and does not fail.
        f.raw.allocate(fuel, shop);
        clickItem(w.LV2, b(shop), true);
        QCOMPARE(f.pairs(), QStringList{pair(fuel, shop)});
        f.raw.exec(QStringLiteral("DELETE FROM relCat_Bis"));
        clickItem(w.LV2, b(shop), true);
        QCOMPARE(f.pairs(), QStringList());
        QCOMPARE(ticked(w.LV2), QStringList());
    }

    // From the keyboard: Tab from the pane reaches the businesses, Space
    // ticks one (the first when none is current) and unticks it again.
    void spaceTicksFromTheKeyboard()
    {
        Allocation f;
        const qint64 fuel = f.raw.category("Fuel", false, 21.0, 1);
        const qint64 shop = f.raw.business("Shop");
        frmCategories& w = f.open();
        clickItem(w.LV1, c(fuel));
        DialogScript script; // no message box may come
        w.cboCashBank->setFocus();
        for (int i = 0; i < 6 && QApplication::focusWidget() != w.LV2; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.LV2);
        QTest::keyClick(w.LV2, Qt::Key_Space);
        QCOMPARE(f.pairs(), QStringList{pair(fuel, shop)});
        QCOMPARE(ticked(w.LV2), QStringList{b(shop)});
        QTest::keyClick(w.LV2, Qt::Key_Space);
        QCOMPARE(f.pairs(), QStringList());
    }

    // Clicking one category after another shows only its ticks and writes
    // nothing. "New" clears the ticks of the category shown before; a tick
    // before the new category is saved is refused.
    void ticksFollowTheCategoryAndANewOneIsAllocatedOnlyOnceSaved()
    {
        Allocation f;
        const qint64 fuel = f.raw.category("Fuel", false);
        const qint64 rent = f.raw.category("Rent", false);
        const qint64 shop = f.raw.business("Shop");
        const qint64 bank = f.raw.business("Bank");
        f.raw.allocate(fuel, shop);
        f.raw.allocate(rent, bank);
        f.raw.allocate(rent, shop);
        const QStringList before = f.pairs();
        frmCategories& w = f.open();
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        clickItem(w.LV1, c(rent));
        QCOMPARE(ticked(w.LV2), (QStringList{b(bank), b(shop)}));
        clickItem(w.LV1, c(fuel));
        QCOMPARE(ticked(w.LV2), QStringList{b(shop)});
        QCOMPARE(f.pairs(), before);
        QCOMPARE(changed.count(), 0);

        pressButton(w.Toolbar1, New);
        typeInto(w.etCategory, QStringLiteral("Water"));
        QCOMPARE(ticked(w.LV2), QStringList());
        pressButton(w.Toolbar1, Save);
        QCOMPARE(ticked(w.LV2), QStringList());
        const qint64 water =
            f.raw.value(QStringLiteral("SELECT max(CategoryId) FROM Categories")).toLongLong();
        clickItem(w.LV2, b(shop), true);
        QCOMPARE(f.pairs(), before + QStringList{pair(water, shop)});

        pressButton(w.Toolbar1, New);
        typeInto(w.etCategory, QStringLiteral("Gas"));
        DialogScript script;
        script.answer(vbOK);
        clickItem(w.LV2, b(bank), true);

        expectBox(
            script.messages().at(0),
            QStringLiteral(
                "First save the new category before allocating the new category to a business"),
            vbOKOnly, vbInformation);
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(f.pairs(), before + QStringList{pair(water, shop)});
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), 3);
    }

    void aNewUsersFirstStepsFromTheDeliveredDatabase()
    {
        Allocation f;
        f.env.openDatabase(f.file.path());
        DialogScript script; // no message box on the whole way

        auto businesses = openWindow<frmBusinesses>();
        typeInto(businesses->etName, QStringLiteral("Corner Shop"));
        typeInto(businesses->etVAT, QStringLiteral("GB 123 4567 89"));
        pressButton(businesses->Toolbar1, Save);
        pressButton(businesses->Toolbar1, Close);
        const qint64 shop =
            f.raw.value(QStringLiteral("SELECT BusinessId FROM Businesses")).toLongLong();

        auto categories = openWindow<frmCategories>();
        QCOMPARE(rows(categories->LV2),
                 QStringList{b(shop) + QStringLiteral("|Corner Shop|GB 123 4567 89")});
        typeInto(categories->etCategory, QStringLiteral("Takings"));
        typeInto(categories->etVAT, QStringLiteral("20%"));
        pickEntry(categories->cboType, 1);
        pickEntry(categories->cboCashBank, 0);
        pressButton(categories->Toolbar1, Save);
        clickItem(categories->LV2, b(shop), true);
        pressButton(categories->Toolbar1, New);
        typeInto(categories->etCategory, QStringLiteral("Bank charges"));
        typeInto(categories->etVAT, QStringLiteral("0"));
        pickEntry(categories->cboType, 0);
        pickEntry(categories->cboCashBank, 1);
        pressButton(categories->Toolbar1, Save);
        clickItem(categories->LV2, b(shop), true);
        pressButton(categories->Toolbar1, Close);

        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 2);
        QCOMPARE(pickerOffers(shop, 1), QStringList{"Takings"});
        QCOMPARE(pickerOffers(shop, 2), QStringList{"Bank charges"});
    }
};

QTEST_MAIN(tst_Allocation)
#include "tst_allocation.moc"
