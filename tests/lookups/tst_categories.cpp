// The categories window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmCategories.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
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

        expectBox(script.messages().at(0),
                  QStringLiteral("Delete category: 'FUEL' and all transactions under that category?"
                                 "\r\rThat is category Fuel and its 1 transaction and 1 business "
                                 "allocation."),
                  vbYesNo, vbQuestion);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Sales", true, 6.0, 2)});
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 0);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!w.LV1->SelectedItem());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        // The deleted category comes back only when typed anew.
        typeInto(w.etCategory, QStringLiteral("Fuel"));
        typeInto(w.etVAT, QStringLiteral("15%"));
        pickEntry(w.cboCashBank, 0);
        pressButton(w.Toolbar1, Save);
        pressButton(w.Toolbar1, Save); // a second save changes the same row
        QCOMPARE(f.stored(),
                 (QList<QVariantList>{row("Sales", true, 6.0, 2), row("Fuel", false, 15.0, 1)}));
        QCOMPARE(w.LV1->Count(), 2);
    }

    // The question counts the rows of the category alone, on every sheet and
    // business, that the delete takes along.
    void deleteQuestionCountsWhatGoesAlong_data()
    {
        QTest::addColumn<int>("transactions");
        QTest::addColumn<int>("allocations");
        QTest::addColumn<QString>("line");
        QTest::newRow("nothing") << 0 << 0
                                 << "That is category Fuel alone: it has no transactions and no "
                                    "business allocations.";
        QTest::newRow("transactions only")
            << 2 << 0 << "That is category Fuel and its 2 transactions.";
        QTest::newRow("allocations only")
            << 0 << 1 << "That is category Fuel and its 1 business allocation.";
        QTest::newRow("both") << 3 << 2
                              << "That is category Fuel and its 3 transactions and 2 business "
                                 "allocations.";
    }

    void deleteQuestionCountsWhatGoesAlong()
    {
        QFETCH(int, transactions);
        QFETCH(int, allocations);
        QFETCH(QString, line);
        Categories f;
        const qint64 fuel = f.raw.category("Fuel", false);
        const qint64 other = f.raw.category("Sales", true);
        const qint64 shops[] = {f.raw.business("Shop"), f.raw.business("Van")};
        for (const qint64 shop : shops) {
            f.raw.allocate(other, shop);
            f.raw.transaction({.business = shop, .category = other});
        }
        for (int i = 0; i < allocations; ++i)
            f.raw.allocate(fuel, shops[i]);
        for (int i = 0; i < transactions; ++i)
            f.raw.transaction({.business = shops[i % 2], .category = fuel, .cash = i == 0});
        frmCategories& w = f.open();
        clickItem(w.LV1, c(fuel));
        DialogScript script;
        script.answer(vbNo);

        pressButton(w.Toolbar1, Delete);

        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Delete category: 'FUEL' and all transactions under that "
                                "category?\r\r") +
                     line);
    }

    // An edit is kept through the save button or a Yes to either question, and
    // every path that stores it tells an open sheet to refresh its picker.
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
        add("close, yes", "close", 21.0, "etCategory", "Alpha 2", close, "Alpha 2", 21.0, 1);
        add("click, yes", "click", 21.0, "etCategory", "Alpha 2", click, "Alpha 2", 21.0, 1);
        add("click, same name", "click", 21.0, "etCategory", "Alpha", {}, "Alpha", 21.0, 0);
        // Nothing stored yet: typed text is a change, or it would be dropped unasked.
        add("click, VAT where none stored", "click", {}, "etVAT", "9", click, "Alpha", 9.0, 1);
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
        if (how == QLatin1String("toolbar")) { // confirmed in the status line, until edited
            QCOMPARE(w.StatusLine->text(), QStringLiteral("Saved ") + w.etCategory->Text());
            typeInto(w.etVAT, QStringLiteral("5"));
            QCOMPARE(w.StatusLine->text(), QString());
        }
        QCOMPARE(changed.count(), notices);
    }

    // A deleted category leaves an empty pane: neither a close nor a click
    // asks about it, and it is not stored again.
    void deleteLeavesNothingToSave_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("then close") << QStringLiteral("close");
        QTest::newRow("then click another") << QStringLiteral("click");
    }

    void deleteLeavesNothingToSave()
    {
        QFETCH(QString, how);
        Categories f;
        const qint64 fuel = f.raw.category("Fuel", false, 21.0, 1);
        const qint64 sales = f.raw.category("Sales", true, 6.0, 2);
        frmCategories& w = f.open();
        clickItem(w.LV1, c(fuel));
        DialogScript script;
        script.answer(vbYes);

        pressButton(w.Toolbar1, Delete);
        QCOMPARE(w.etCategory->Text(), QString());
        QCOMPARE(w.etVAT->Text(), QString());
        if (how == QLatin1String("close"))
            pressButton(w.Toolbar1, Close);
        else
            clickItem(w.LV1, c(sales));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Sales", true, 6.0, 2)});
        QCOMPARE(w.isVisible(), how != QLatin1String("close"));
    }

    // A change of the type or of "Available in" alone is asked about like any
    // other, and Yes stores it.
    void aComboOnlyChangeIsAsked_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QVariantList>("after");
        QTest::newRow("type, click") << "cboType" << 1 << "click" << row("Alpha", true, 21.0, 3);
        QTest::newRow("type, close") << "cboType" << 1 << "close" << row("Alpha", true, 21.0, 3);
        QTest::newRow("available in, click")
            << "cboCashBank" << 1 << "click" << row("Alpha", false, 21.0, 2);
        QTest::newRow("available in, close")
            << "cboCashBank" << 0 << "close" << row("Alpha", false, 21.0, 1);
    }

    void aComboOnlyChangeIsAsked()
    {
        QFETCH(QString, combo);
        QFETCH(int, entry);
        QFETCH(QString, how);
        QFETCH(QVariantList, after);
        Categories f;
        const qint64 alpha = f.raw.category("Alpha", false, 21.0, 3);
        const qint64 beta = f.raw.category("Beta", true, 6.0, 3);
        frmCategories& w = f.open();
        clickItem(w.LV1, c(alpha));
        pickEntry(w.findChild<ComboBox*>(combo), entry);
        DialogScript script;
        script.answer(vbYes);

        if (how == QLatin1String("close"))
            pressButton(w.Toolbar1, Close);
        else
            clickItem(w.LV1, c(beta));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(f.stored().at(0), after);
    }

    // Keys typed as soon as the window is open fill the pane, as a user who
    // opens it to add a category expects: nothing goes to a list's search.
    void keysTypedOnOpeningFillThePane()
    {
        Categories f;
        f.raw.category("Alpha", true, 21.0);
        frmCategories& w = f.open();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWindow* window = w.windowHandle();
        for (const char key : QByteArray("Flour\t6"))
            QTest::keyClick(window, key);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.stored().at(1), row("Flour", false, 6.0, 3));
    }

    // "New" starts from the defaults whatever was shown before, so the same
    // keys always store the same category.
    void newResetsThePane()
    {
        Categories f;
        const qint64 alpha = f.raw.category("Alpha", true, 21.0, 2);
        const qint64 shop = f.raw.business("Shop");
        f.raw.allocate(alpha, shop);
        frmCategories& w = f.open();
        clickItem(w.LV1, c(alpha));
        QCOMPARE(ticked(w.LV2), QStringList{b(shop)});

        pressButton(w.Toolbar1, New);
        QCOMPARE(w.etCategory->Text(), QString());
        QCOMPARE(w.etVAT->Text(), QString());
        QCOMPARE(w.cboType->Text(), QStringLiteral("Debit"));
        QCOMPARE(w.cboCashBank->Text(), QStringLiteral("Both bank and cash transactions"));
        QCOMPARE(ticked(w.LV2), QStringList());

        typeInto(w.etCategory, QStringLiteral("Gamma"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored().at(1), row("Gamma", false, 0.0, 3));
    }

    // The VAT box takes a number from 0 to 100 with a decimal point and an
    // optional "%"; anything else is refused with one message, nothing is
    // written and the text stays. After a save the box shows what was stored.
    void vatIsStoredOrRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QVariant>("stored"); // invalid: refused
        QTest::addColumn<QString>("shown");

        const auto add = [](const char* name, const char* typed, const char* how, QVariant stored,
                            const char* shown) {
            QTest::newRow(name) << QString(typed) << QString(how) << stored << QString(shown);
        };
        add("15", "15", "toolbar", 15.0, "15");
        add("15%", "15%", "toolbar", 15.0, "15");
        add("5.5", "5.5", "toolbar", 5.5, "5.5");
        add("100", "100", "toolbar", 100.0, "100");
        add("empty", "", "toolbar", 0.0, "0");
        add("5,5", "5,5", "toolbar", {}, "5,5");
        add("abc", "abc", "toolbar", {}, "abc");
        add("-7", "-7", "toolbar", {}, "-7");
        add("101", "101", "toolbar", {}, "101");
        add("1e400", "1e400", "toolbar", {}, "1e400");
        add("% alone", "%", "toolbar", {}, "%");
        add("5,5 on close", "5,5", "close", {}, "5,5");
        add("5,5 on click", "5,5", "click", {}, "5,5");
    }

    void vatIsStoredOrRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        Categories f;
        const qint64 alpha = f.raw.category("Alpha", false, 21.0, 3);
        const qint64 beta = f.raw.category("Beta", true, 6.0, 3);
        frmCategories& w = f.open();
        clickItem(w.LV1, c(alpha));
        typeInto(w.etVAT, typed);
        DialogScript script;
        if (how != QLatin1String("toolbar"))
            script.answer(vbYes);
        if (!stored.isValid())
            script.answer(vbOK);

        if (how == QLatin1String("close"))
            pressButton(w.Toolbar1, Close);
        else if (how == QLatin1String("click"))
            clickItem(w.LV1, c(beta));
        else
            pressButton(w.Toolbar1, Save);

        QCOMPARE(script.pending(), 0);
        QCOMPARE(f.stored().at(0), row("Alpha", false, stored.isValid() ? stored : 21.0));
        QCOMPARE(w.etVAT->Text(), shown);
        QVERIFY(w.isVisible());
        if (!stored.isValid()) {
            expectBox(script.messages().last(),
                      QStringLiteral("VAT % takes a number from 0 to 100, with a point before "
                                     "any decimals and an optional %, for example 21 or 5.5%."),
                      vbOKOnly, vbExclamation);
            // The refused text waits, selected, in the box to mend.
            QTRY_COMPARE(QApplication::focusWidget(), w.etVAT);
            QCOMPARE(w.etVAT->selectedText(), shown);
            return;
        }
        // What the box shows is what is stored: nothing is left to ask about.
        clickItem(w.LV1, c(beta));
        QCOMPARE(script.shown(), 0);
    }

    // Names are stored without surrounding blanks; a name another category
    // already has (ignoring case) is saved only when the user goes on.
    void namesAreTrimmedAndDuplicatesAsked_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("shown");

        const auto add = [](const char* name, const char* typed, int answer,
                            const QStringList& names, const char* shown) {
            QTest::newRow(name) << QString(typed) << answer << names << QString(shown);
        };
        add("blanks trimmed", "  Rent ", 0, {"Fuel", "Rent"}, "Rent");
        add("same name, go on", "fuel", vbYes, {"Fuel", "fuel"}, "fuel");
        add("same name, stop", " FUEL", vbNo, {"Fuel"}, " FUEL");
    }

    void namesAreTrimmedAndDuplicatesAsked()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(QString, shown);
        Categories f;
        f.raw.category("Fuel", false, 21.0, 3);
        frmCategories& w = f.open();
        typeInto(w.etCategory, typed);
        DialogScript script;
        if (answer != 0)
            script.answer(answer);

        pressButton(w.Toolbar1, Save);

        QCOMPARE(script.pending(), 0);
        QCOMPARE(script.shown(), answer != 0 ? 1 : 0);
        if (answer != 0)
            expectBox(script.messages().at(0),
                      QStringLiteral("Another category is already named 'Fuel'. Save this one "
                                     "under the same name anyway?"),
                      vbYesNo, vbExclamation);
        QCOMPARE(namesOf(f.stored()), names);
        QCOMPARE(w.etCategory->Text(), shown);
    }

    // A pasted name longer than the field is cut to it, with a message naming
    // the field and the limit, and what is left is stored.
    void anOverlongNameIsCutWithAMessage()
    {
        Categories f;
        frmCategories& w = f.open();
        QApplication::clipboard()->setText(QString(300, QLatin1Char('x')));
        DialogScript script;
        script.answer(vbOK);

        w.etCategory->setFocus();
        QTest::keyClick(w.etCategory, Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(script.pending(), 0);
        expectBox(script.messages().at(0),
                  QStringLiteral("Category name takes at most 255 characters; the text was cut "
                                 "to that length."),
                  vbOKOnly, vbExclamation);
        QCOMPARE(w.etCategory->Text(), QString(255, QLatin1Char('x')));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), QList<QVariantList>{row(QString(255, QLatin1Char('x')), false, 0.0)});
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
