// The categories window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmCategories.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <memory>

#include <QGroupBox>
#include <QSignalSpy>

using namespace LookupDriver;

namespace {

const QString Save = QStringLiteral("save");
const QString Delete = QStringLiteral("delete");
const QString New = QStringLiteral("new");

struct Fixture
{
    TempDatabase file;
    ShellEnvironment env;
    RawDb raw{file.path()};
    std::unique_ptr<frmCategories> window;

    frmCategories& open()
    {
        env.openDatabase(file.path());
        window = std::make_unique<frmCategories>();
        if (!window->Load())
            throw std::runtime_error("the window did not load");
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowExposed(window.get()))
            throw std::runtime_error("the window was not shown");
        return *window;
    }

    QString key(qint64 id) const { return QStringLiteral("c") + QString::number(id); }
    // Category, MoneyReceived, VAT, CashOrBank of every row, by id.
    QList<QVariantList> categories()
    {
        return raw.rows(QStringLiteral(
            "SELECT Category, MoneyReceived, VAT, CashOrBank FROM Categories ORDER BY CategoryId"));
    }
};

QVariantList category(const QString& name, bool credit, double vat, int cashOrBank)
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
        Fixture f;
        const qint64 sales = f.raw.category("Sales", true, 21.0);
        const qint64 fuel = f.raw.category("Fuel", false, 15.5);
        const qint64 post = f.raw.category("Postage", false, QVariant());
        const qint64 shop = f.raw.business("Shop", "NL5");
        const qint64 bank = f.raw.business("Bank account");
        frmCategories& w = f.open();

        QCOMPARE(w.windowTitle(), QStringLiteral("Categories"));
        QCOMPARE(rows(w.LV1),
                 (QStringList{f.key(fuel) + "|Fuel|Debit|15.5", f.key(post) + "|Postage|Debit|",
                              f.key(sales) + "|Sales|Credit|21"}));
        QCOMPARE(rows(w.LV2), (QStringList{"b" + QString::number(bank) + "|Bank account|n/a",
                                           "b" + QString::number(shop) + "|Shop|NL5"}));
        QCOMPARE(w.LV2->ColumnHeaderText(2), QStringLiteral("VatNr."));
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(w.LV2->Checkboxes());
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(w.cboType->Text(), QStringLiteral("Debit"));
        QCOMPARE(w.cboType->ListCount(), 2);
        QCOMPARE(w.cboCashBank->Text(), QStringLiteral("Both bank and cash transactions"));
        QCOMPARE(w.cboCashBank->ListCount(), 3);
        QCOMPARE(w.cboCashBank->ItemData(0), 1);
        QVERIFY(dbStuff::NewRecord);
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
        QTest::addColumn<int>("storedCashOrBank");

        QTest::newRow("credit, cash") << true << QVariant(21.0) << QVariant(1) << "Credit"
                                      << "21"
                                      << "Cash transactions" << 1;
        QTest::newRow("debit, bank") << false << QVariant(6.5) << QVariant(2) << "Debit"
                                     << "6.5"
                                     << "Bank transactions" << 2;
        QTest::newRow("debit, both") << false << QVariant(0.0) << QVariant(3) << "Debit"
                                     << "0"
                                     << "Both bank and cash transactions" << 3;
        QTest::newRow("unknown place") << true << QVariant(21.0) << QVariant(7) << "Credit"
                                       << "21"
                                       << "Both bank and cash transactions" << 3;
        QTest::newRow("no place") << false << QVariant(21.0) << QVariant() << "Debit"
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
        QFETCH(int, storedCashOrBank);
        Fixture f;
        const qint64 id = f.raw.category("Misc", credit, vat);
        f.raw.exec(QStringLiteral("UPDATE Categories SET CashOrBank = ?1"), {cashOrBank});
        frmCategories& w = f.open();
        DialogScript script; // any message box fails the test

        clickItem(w.LV1, f.key(id));

        QCOMPARE(w.etCategory->Text(), QStringLiteral("Misc"));
        QCOMPARE(w.etVAT->Text(), vatBox);
        QCOMPARE(w.cboType->Text(), type);
        QCOMPARE(w.cboCashBank->Text(), available);
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));

        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.categories(),
                 (QList<QVariantList>{category("Misc", credit, vat.toDouble(), storedCashOrBank)}));
        QCOMPARE(w.LV1->Count(), 1);
        QCOMPARE(w.LV1->Find(f.key(id))->SubItems(1), type);
    }

    void typedVatIsReadAsItsLeadingNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");

        QTest::newRow("percent sign") << "15%" << 15.0 << "15";
        QTest::newRow("empty") << "" << 0.0 << "0";
        QTest::newRow("decimal point") << "17.5" << 17.5 << "17.5";
        QTest::newRow("blanks inside") << " 2 1" << 21.0 << "21";
        QTest::newRow("not a number") << "none" << 0.0 << "0";
    }

    void typedVatIsReadAsItsLeadingNumber()
    {
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        Fixture f;
        frmCategories& w = f.open();

        typeInto(w.etCategory, QStringLiteral("Stationery"));
        typeInto(w.etVAT, typed);
        pickEntry(w.cboType, 1);
        pickEntry(w.cboCashBank, 1);
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.categories(), (QList<QVariantList>{category("Stationery", true, stored, 2)}));
        QCOMPARE(w.LV1->Item(1)->SubItems(1), QStringLiteral("Credit"));
        QCOMPARE(w.LV1->Item(1)->SubItems(2), shown);
    }

    void savingANewCategoryTwiceStoresOneRow()
    {
        Fixture f;
        frmCategories& w = f.open();

        typeInto(w.etCategory, QStringLiteral("Fuel"));
        pressButton(w.Toolbar1, Save);
        const qint64 id =
            f.raw.value(QStringLiteral("SELECT CategoryId FROM Categories")).toLongLong();
        QCOMPARE(selectedKey(w.LV1), f.key(id));
        QCOMPARE(w.CurrentKey, f.key(id));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        typeInto(w.etVAT, QStringLiteral("9"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.categories(), (QList<QVariantList>{category("Fuel", false, 9.0, 3)}));
        QCOMPARE(rows(w.LV1), (QStringList{f.key(id) + "|Fuel|Debit|9"}));
    }

    void newKeepsTheOtherBoxesAsValuesOfTheNewCategory()
    {
        Fixture f;
        const qint64 id = f.raw.category("Sales", true, 21.0, 1);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(id));

        pressButton(w.Toolbar1, New);
        QCOMPARE(w.etCategory->Text(), QString());
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        typeInto(w.etCategory, QStringLiteral("Fees"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.categories(), (QList<QVariantList>{category("Sales", true, 21.0, 1),
                                                      category("Fees", true, 21.0, 1)}));
    }

    void deleteAsksWithTheNameInCapitalsAndTakesItsTransactions()
    {
        Fixture f;
        const qint64 fuel = f.raw.category("Fuel", false);
        const qint64 sales = f.raw.category("Sales", true, 6.0, 1);
        const qint64 shop = f.raw.business("Shop");
        f.raw.allocate(fuel, shop);
        f.raw.transaction({.business = shop, .category = fuel});
        f.raw.transaction({.business = shop, .category = sales});
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(fuel));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script;
        script.answer(vbNo).answer(vbYes);

        pressButton(w.Toolbar1, Delete);
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), 2);
        pressButton(w.Toolbar1, Delete);

        const MessageRequest& box = script.messages().at(0);
        QCOMPARE(
            box.prompt,
            QStringLiteral("Delete category: 'FUEL' and all transactions under that category?"));
        QCOMPARE(box.buttons(), vbYesNo);
        QCOMPARE(box.icon(), vbQuestion);
        QCOMPARE(box.title, QStringLiteral("Zantoro"));
        QCOMPARE(f.categories(), (QList<QVariantList>{category("Sales", true, 6.0, 1)}));
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 0);
        QCOMPARE(rows(w.LV1).size(), 1);
        QCOMPARE(ticked(w.LV2), QStringList());
        QCOMPARE(changed.count(), 1);
    }

    void afterADeleteASaveAddsAndNeverOverwrites()
    {
        Fixture f;
        const qint64 fuel = f.raw.category("Fuel", false, 21.0, 1);
        const qint64 sales = f.raw.category("Sales", true, 6.0, 2);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(fuel));
        DialogScript script;
        script.answer(vbYes);
        pressButton(w.Toolbar1, Delete);

        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(dbStuff::NewRecord);
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Fuel")); // the pane still shows it

        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.raw.rows(QStringLiteral("SELECT Category, CashOrBank FROM Categories ORDER BY "
                                           "Category")),
                 (QList<QVariantList>{{"Fuel", 1LL}, {"Sales", 2LL}}));
        QVERIFY(f.raw
                    .value(QStringLiteral("SELECT CategoryId FROM Categories WHERE Category = "
                                          "'Fuel'"))
                    .toLongLong() != fuel);
        QCOMPARE(f.raw
                     .value(QStringLiteral("SELECT Category FROM Categories WHERE CategoryId = ?1"),
                            {sales})
                     .toString(),
                 QStringLiteral("Sales"));
        QCOMPARE(w.LV1->Count(), 2);
    }

    void changingOnlyWhereItIsAvailableIsNoEdit()
    {
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false, 21.0, 3);
        const qint64 b = f.raw.category("Beta", false, 21.0, 3);
        frmCategories& w = f.open();
        DialogScript script; // no question may come

        clickItem(w.LV1, f.key(a));
        pickEntry(w.cboCashBank, 0);
        clickItem(w.LV1, f.key(b));
        QCOMPARE(
            f.raw.value(QStringLiteral("SELECT CashOrBank FROM Categories WHERE CategoryId = ?1"),
                        {a}),
            QVariant(3LL));

        clickItem(w.LV1, f.key(a));
        pickEntry(w.cboCashBank, 0);
        pressButton(w.Toolbar1, Save);
        QCOMPARE(
            f.raw.value(QStringLiteral("SELECT CashOrBank FROM Categories WHERE CategoryId = ?1"),
                        {a}),
            QVariant(1LL));
        QCOMPARE(script.shown(), 0);
    }

    void clickingAnotherCategoryWithEditsAsks_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("typeEntry"); // -1: leave it
        QTest::addColumn<bool>("asks");

        QTest::newRow("name") << "etCategory"
                              << "Alpha 2" << -1 << true;
        QTest::newRow("name in capitals") << "etCategory"
                                          << "ALPHA" << -1 << true;
        QTest::newRow("same name") << "etCategory"
                                   << "Alpha" << -1 << false;
        QTest::newRow("emptied name") << "etCategory"
                                      << "" << -1 << false;
        QTest::newRow("VAT") << "etVAT"
                             << "6" << -1 << true;
        QTest::newRow("VAT with percent sign") << "etVAT"
                                               << "21%" << -1 << true;
        QTest::newRow("type") << "etVAT"
                              << "21" << 1 << true;
    }

    void clickingAnotherCategoryWithEditsAsks()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(int, typeEntry);
        QFETCH(bool, asks);
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false, 21.0);
        const qint64 b = f.raw.category("Beta", true, 6.0);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(a));
        typeInto(w.findChild<TextBox*>(box), text);
        if (typeEntry >= 0)
            pickEntry(w.cboType, typeEntry);
        DialogScript script;
        if (asks)
            script.answer(vbNo);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(script.messages().size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(script.messages().at(0).prompt,
                     QStringLiteral("Do you want to save changes?"));
            QCOMPARE(script.messages().at(0).buttons(), vbYesNo);
            QCOMPARE(script.messages().at(0).icon(), vbQuestion);
        }
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Beta"));
        QCOMPARE(w.cboType->Text(), QStringLiteral("Credit"));
        QCOMPARE(f.categories(), (QList<QVariantList>{category("Alpha", false, 21.0, 3),
                                                      category("Beta", true, 6.0, 3)}));
    }

    void yesInTheClickQuestionStoresOnTheCategoryShownBefore()
    {
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false, 21.0);
        const qint64 b = f.raw.category("Beta", true, 6.0);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(a));
        typeInto(w.etCategory, QStringLiteral("Alpha 2"));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(f.categories(), (QList<QVariantList>{category("Alpha 2", false, 21.0, 3),
                                                      category("Beta", true, 6.0, 3)}));
        QCOMPARE(w.LV1->Find(f.key(a))->Text(), QStringLiteral("Alpha 2"));
        QCOMPARE(selectedKey(w.LV1), f.key(b));
        QCOMPARE(w.CurrentKey, f.key(b));
    }

    void typedTextWhereNoVatIsStoredCountsAsAnEdit()
    {
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false, QVariant());
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(a));
        typeInto(w.etVAT, QStringLiteral("9"));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(
            f.raw.value(QStringLiteral("SELECT VAT FROM Categories WHERE CategoryId = ?1"), {a}),
            QVariant(9.0));
    }

    void aTypedNewCategoryIsNeverDroppedUnasked()
    {
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false);
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        // The table stands on Alpha, and the new category gets the same name.
        clickItem(w.LV1, f.key(a));
        pressButton(w.Toolbar1, New);
        typeInto(w.etCategory, QStringLiteral("Alpha"));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), 3);
        QCOMPARE(w.LV1->Count(), 3);
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Beta"));
    }

    void closingWithEditsAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::addColumn<qint64>("rows");

        QTest::newRow("cancel keeps the window") << vbCancel << true << qint64(0);
        QTest::newRow("no drops the new category") << vbNo << false << qint64(0);
        QTest::newRow("yes saves it") << vbYes << false << qint64(1);
    }

    void closingWithEditsAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, open);
        QFETCH(qint64, rows);
        Fixture f;
        frmCategories& w = f.open();
        typeInto(w.etCategory, QStringLiteral("Rent"));
        DialogScript script;
        script.answer(answer);

        pressButton(w.Toolbar1, QStringLiteral("close"));

        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Save changes before closing this window?"));
        QCOMPARE(script.messages().at(0).buttons(), vbYesNoCancel);
        QCOMPARE(script.messages().at(0).icon(), vbQuestion);
        QCOMPARE(w.isVisible(), open);
        QCOMPARE(w.etCategory->Text(), QStringLiteral("Rent"));
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), rows);
    }

    void onlyAToolbarSaveRefreshesTheSheetsPicker_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("notices");

        QTest::newRow("save button") << "toolbar" << 1;
        QTest::newRow("close question") << "close" << 0;
        QTest::newRow("click question") << "click" << 0;
    }

    void onlyAToolbarSaveRefreshesTheSheetsPicker()
    {
        QFETCH(QString, path);
        QFETCH(int, notices);
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false);
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        dbStuff::SheetOpen = true;
        clickItem(w.LV1, f.key(a));
        typeInto(w.etCategory, QStringLiteral("Alpha 2"));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged);
        DialogScript script;

        if (path == QLatin1String("toolbar")) {
            pressButton(w.Toolbar1, Save);
        } else if (path == QLatin1String("close")) {
            script.answer(vbYes);
            pressButton(w.Toolbar1, QStringLiteral("close"));
        } else {
            script.answer(vbYes);
            clickItem(w.LV1, f.key(b));
        }

        QCOMPARE(
            f.raw
                .value(QStringLiteral("SELECT Category FROM Categories WHERE CategoryId = ?1"), {a})
                .toString(),
            QStringLiteral("Alpha 2"));
        QCOMPARE(changed.count(), notices);
    }

    void aReceiverMovingTheSharedTableDoesNotMisleadTheWindow()
    {
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false);
        const qint64 b = f.raw.category("Beta", false);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(a));
        // An open sheet looking a category up when told of the change.
        const QMetaObject::Connection sheet =
            connect(&dbStuff::Notifier::instance(), &dbStuff::Notifier::categoriesChanged,
                    [&] { dbStuff::rsCategories->Seek(QStringLiteral("="), Variant(b)); });
        pressButton(w.Toolbar1, Save);
        disconnect(sheet);

        // The pane shows Alpha as stored: nothing to ask about on closing.
        QCOMPARE(dbStuff::rsCategories->field(QStringLiteral("Category")).toText(),
                 QStringLiteral("Alpha"));
        QVERIFY(!w.IsDirty());
    }

    void aRefusedWriteKeepsTheWindowAndTheText_data()
    {
        QTest::addColumn<bool>("viaClose");
        QTest::newRow("save button") << false;
        QTest::newRow("close question") << true;
    }

    void aRefusedWriteKeepsTheWindowAndTheText()
    {
        QFETCH(bool, viaClose);
        Fixture f;
        const qint64 a = f.raw.category("Alpha", false, 21.0);
        frmCategories& w = f.open();
        clickItem(w.LV1, f.key(a));
        typeInto(w.etCategory, QString());
        typeInto(w.etVAT, QStringLiteral("6"));
        DialogScript script;
        if (viaClose)
            script.answer(vbYes);
        script.answer(vbOK);

        pressButton(w.Toolbar1, viaClose ? QStringLiteral("close") : Save);

        const MessageRequest& error = script.messages().constLast();
        QVERIFY2(error.prompt.startsWith(QStringLiteral("Error 3315:  ")),
                 qPrintable(error.prompt));
        QVERIFY(w.isVisible());
        QCOMPARE(w.etCategory->Text(), QString());
        QCOMPARE(w.etVAT->Text(), QStringLiteral("6"));
        QCOMPARE(f.categories(), (QList<QVariantList>{category("Alpha", false, 21.0, 3)}));

        typeInto(w.etCategory, QStringLiteral("Alpha"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.categories(), (QList<QVariantList>{category("Alpha", false, 6.0, 3)}));
    }

    void anEmptyNewCategoryIsRefusedAndNothingIsAdded()
    {
        Fixture f;
        frmCategories& w = f.open();
        DialogScript script;
        script.answer(vbOK);

        pressButton(w.Toolbar1, Save);

        QVERIFY(script.messages().at(0).prompt.startsWith(QStringLiteral("Error 3315:  ")));
        QCOMPARE(f.raw.count(QStringLiteral("Categories")), 0);
        QCOMPARE(w.LV1->Count(), 0);
        QVERIFY(w.isVisible());
    }

    void layoutSplitsTheListsAndFitsTheirFirstColumns()
    {
        Fixture f;
        frmCategories& w = f.open();
        DialogScript script; // a layout error would show a box and fail here

        w.resize(Twips::toPixels(QSize(12120, 7000)));
        const int listWidth = (12120 - 120) / 2;
        QCOMPARE(w.LV1->width(), Twips::toPixels(listWidth));
        QCOMPARE(w.LV2->geometry().left(), Twips::toPixels(listWidth + 120));
        QCOMPARE(w.LV2->geometry().top(), w.LV1->geometry().top());
        QCOMPARE(w.LV1->ColumnHeaderWidth(1), listWidth - 1440 - 1000 - 400);
        QCOMPARE(w.LV2->ColumnHeaderWidth(1), listWidth - 1440 - 400);
        QCOMPARE(w.Frame1->width(), w.width());

        w.resize(30, 20);
        QCOMPARE(w.LV1->height(), 0);
        QCOMPARE(w.LV1->ColumnHeaderWidth(1), 0);
        QCOMPARE(script.shown(), 0);
    }
};

QTEST_MAIN(tst_Categories)
#include "tst_categories.moc"
