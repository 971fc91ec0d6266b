// The businesses window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/LookupWindows.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DataRows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QSignalSpy>

using namespace LookupDriver;

namespace {

struct Businesses : Fixture<frmBusinesses>
{
    // Name, VATNr, accountnr of every row, by id.
    QList<QVariantList> stored()
    {
        return raw.rows(
            QStringLiteral("SELECT Name, VATNr, accountnr FROM Businesses ORDER BY BusinessId"));
    }
};

QVariantList row(const QVariant& name, const QVariant& vat = {}, const QVariant& account = {})
{
    return {name, vat, account};
}

} // namespace

class tst_Businesses : public QObject
{
    Q_OBJECT

private slots:
    void listsAndAddsBusinesses()
    {
        Businesses f;
        const qint64 zeta = f.raw.business("Zeta Ltd", "NL001");
        const qint64 abbey = f.raw.business("Abbey");
        frmBusinesses& w = f.open();

        QCOMPARE(rows(w.LV1),
                 (QStringList{b(abbey) + "|Abbey|" + QString::number(abbey) + "|n/a",
                              b(zeta) + "|Zeta Ltd|" + QString::number(zeta) + "|NL001"}));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        // Empty boxes store Null; a second save changes the row just added.
        typeInto(w.etName, QStringLiteral("Corner Shop"));
        pressButton(w.Toolbar1, Save);
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        typeInto(w.etVAT, QStringLiteral("GB123"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), (QList<QVariantList>{row("Zeta Ltd", "NL001"), row("Abbey"),
                                                  row("Corner Shop", "GB123")}));

        // Blanks around a number are not stored, and the box shows what was.
        typeInto(w.etAccountNr, QStringLiteral(" 456  "));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored().constLast(), row("Corner Shop", "GB123", "456"));
        QCOMPARE(w.etAccountNr->Text(), QStringLiteral("456"));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));

        // Emptying a box (blanks are empty) is a change, and a save stores
        // Null: the list says "n/a".
        typeInto(w.etVAT, QStringLiteral("  "));
        QVERIFY(w.Toolbar1->ButtonEnabled(Save));
        pressButton(w.Toolbar1, Save);
        typeInto(w.etAccountNr, QString());
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored().constLast(), row("Corner Shop"));
        QVERIFY(rows(w.LV1).constLast().endsWith(QStringLiteral("|n/a")));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
    }

    void saveButtonFollowsTheChangeCheck_data()
    {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("text");

        QTest::newRow("new: a name") << false << "etName" << true << "Carlton";
        QTest::newRow("new: a VAT number only") << false << "etVAT" << false << "NL9";
        QTest::newRow("shown: name unchanged") << true << "etName" << false << "Abbey";
        QTest::newRow("shown: name in capitals") << true << "etName" << true << "ABBEY";
        QTest::newRow("shown: name emptied") << true << "etName" << false << "";
        QTest::newRow("shown: VAT number emptied") << true << "etVAT" << true << "";
        // Nothing stored yet: typed text is a change, or it could never be saved.
        QTest::newRow("shown: account where none stored") << true << "etAccountNr" << true << "12";
    }

    void saveButtonFollowsTheChangeCheck()
    {
        QFETCH(bool, clickFirst);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        if (clickFirst)
            clickItem(w.LV1, b(id));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));

        typeInto(w.findChild<TextBox*>(box), text);

        QCOMPARE(w.Toolbar1->ButtonEnabled(Save), enabled);
    }

    void deleteAsksAndTakesTheBusinessWithItsRows()
    {
        Businesses f;
        const qint64 keep = f.raw.business("Keep");
        const qint64 id = f.raw.business("Abbey & Sons");
        const qint64 cat = f.raw.category("Fuel", false);
        for (const qint64 business : {keep, id}) {
            f.raw.allocate(cat, business);
            f.raw.transaction({.business = business, .category = cat});
        }
        frmBusinesses& w = f.open();
        clickItem(w.LV1, b(id));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);
        DialogScript script;
        script.answer(vbNo).answer(vbYes);

        pressButton(w.Toolbar1, Delete);
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 2);
        pressButton(w.Toolbar1, Delete);

        expectBox(script.messages().at(0),
                  QStringLiteral(
                      "Delete Abbey & Sons and all it's related information including accounts?"
                      "\r\rThat is Abbey & Sons and its 1 transaction and 1 category allocation."),
                  vbYesNo, vbExclamation);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Keep")});
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 1);
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QCOMPARE(changed.count(), 1);
    }

    // Leaving an edited business asks first. A typed new business counts as an
    // edit even when its name equals the business the table stands on.
    void leavingWithEditsAsks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<QStringList>("names");

        const QStringList edited{"Abbey Road", "Brook"};
        const QStringList unchanged{"Abbey", "Brook"};
        QTest::newRow("close, cancel")
            << "button" << false << "Abbey Road" << vbCancel << unchanged;
        QTest::newRow("escape, yes") << "escape" << false << "Abbey Road" << vbYes << edited;
        QTest::newRow("no edits") << "title bar" << false << "Abbey" << 0 << unchanged;
        QTest::newRow("click, yes") << "click" << false << "Abbey Road" << vbYes << edited;
        QTest::newRow("click, new with the same name")
            << "click" << true << "Abbey" << vbYes << QStringList{"Abbey", "Brook", "Abbey"};
        // "New" would clear the pane: it asks as a click does.
        QTest::newRow("new, yes") << "new" << false << "Abbey Road" << vbYes << edited;
        QTest::newRow("new, no") << "new" << false << "Abbey Road" << vbNo << unchanged;
        QTest::newRow("new after new, yes")
            << "new" << true << "Carlton" << vbYes << QStringList{"Abbey", "Brook", "Carlton"};
        QTest::newRow("new, no edits") << "new" << false << "Abbey" << 0 << unchanged;
    }

    void leavingWithEditsAsks()
    {
        QFETCH(QString, how);
        QFETCH(bool, isNew);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        Businesses f;
        const qint64 first = f.raw.business("Abbey");
        const qint64 second = f.raw.business("Brook");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, b(first));
        if (isNew)
            pressButton(w.Toolbar1, New);
        typeInto(w.etName, typed);
        DialogScript script;
        if (answer)
            script.answer(answer);
        // A new business named as one stored is saved only past the warning.
        const bool namesake = isNew && typed == QLatin1String("Abbey") && answer == vbYes;
        if (namesake)
            script.answer(vbYes);

        if (how == QLatin1String("button"))
            pressButton(w.Toolbar1, Close);
        else if (how == QLatin1String("title bar"))
            w.close();
        else if (how == QLatin1String("escape"))
            QTest::keyClick(w.etName, Qt::Key_Escape);
        else if (how == QLatin1String("new"))
            pressButton(w.Toolbar1, New);
        else
            clickItem(w.LV1, b(second));

        const bool renewed = how == QLatin1String("new");
        const bool clicked = how == QLatin1String("click") || renewed;
        QCOMPARE(script.messages().size(), (answer ? 1 : 0) + (namesake ? 1 : 0));
        if (answer)
            expectBox(script.messages().at(0),
                      clicked ? QStringLiteral("Do you want to save changes?")
                              : QStringLiteral("Save changes before closing this window?"),
                      clicked ? vbYesNo : vbYesNoCancel, vbQuestion);
        QCOMPARE(namesOf(f.stored()), names);
        QCOMPARE(w.isVisible(), clicked || answer == vbCancel);
        QCOMPARE(w.etName->Text(), renewed ? QString() : clicked ? QStringLiteral("Brook") : typed);
    }

    // The close question's Yes meets an empty name: the error, and the window
    // stays open with the user's text; nothing of the refused write is left.
    void aRefusedWriteKeepsTheWindowAndTheText()
    {
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, b(id));
        typeInto(w.etName, QString());
        typeInto(w.etVAT, QStringLiteral("NL2"));
        DialogScript script;
        script.answer(vbYes).answer(vbOK);

        pressButton(w.Toolbar1, Close);

        QVERIFY(script.messages().constLast().prompt.startsWith(QStringLiteral("Error 3315:  ")));
        QVERIFY(w.isVisible());
        QCOMPARE(w.etVAT->Text(), QStringLiteral("NL2"));
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL1")});
        typeInto(w.etName, QStringLiteral("Abbey"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL2")});
    }

    // Names are stored trimmed; a name another business has, ignoring case,
    // is saved only when the user goes on. A no keeps the pane and the window.
    void namesAreTrimmedAndNamesakesWarned_data()
    {
        QTest::addColumn<bool>("editBrook");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("warning"); // the answer to it; 0: none expected
        QTest::addColumn<QStringList>("names");

        using datarows::row;
        const QStringList two{"Abbey", "Brook"};
        row("new, blanks around", false, "  Carlton  ", "save", 0, two + QStringList{"Carlton"});
        row("own name in capitals", true, "BROOK", "save", 0, QStringList{"Abbey", "BROOK"});
        row("new namesake, go on", false, "abbey", "save", vbYes, two + QStringList{"abbey"});
        row("new namesake, no", false, " abbey", "save", vbNo, two);
        row("renamed namesake on close, no", true, "ABBEY ", "close", vbNo, two);
        row("renamed namesake on click, no", true, "ABBEY", "click", vbNo, two);
        row("renamed namesake on new, go on", true, "ABBEY", "new", vbYes,
            QStringList{"Abbey", "ABBEY"});
    }

    void namesAreTrimmedAndNamesakesWarned()
    {
        QFETCH(bool, editBrook);
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(int, warning);
        QFETCH(QStringList, names);
        Businesses f;
        const qint64 abbey = f.raw.business("Abbey");
        const qint64 brook = f.raw.business("Brook");
        frmBusinesses& w = f.open();
        if (editBrook)
            clickItem(w.LV1, b(brook));
        typeInto(w.etName, typed);
        DialogScript script;
        if (how != QLatin1String("save"))
            script.answer(vbYes); // the save question
        if (warning)
            script.answer(warning);

        if (how == QLatin1String("save"))
            QTest::keyClick(w.etName, Qt::Key_S, Qt::ControlModifier);
        else if (how == QLatin1String("close"))
            pressButton(w.Toolbar1, Close);
        else if (how == QLatin1String("new"))
            pressButton(w.Toolbar1, New);
        else
            clickItem(w.LV1, b(abbey));

        QCOMPARE(namesOf(f.stored()), names);
        if (warning)
            expectBox(script.messages().constLast(),
                      QStringLiteral("Another business is already named Abbey. Save ") +
                          typed.trimmed() + QStringLiteral(" all the same?"),
                      vbYesNo, vbExclamation);
        if (warning == vbNo) {
            QVERIFY(w.isVisible());
            QCOMPARE(w.etName->Text(), typed);
            QCOMPARE(w.LV1->SelectedItem() ? w.LV1->SelectedItem()->Key() : QString(),
                     editBrook ? b(brook) : QString());
        } else if (how == QLatin1String("save")) {
            QCOMPARE(w.etName->Text(), names.constLast());
            QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        }
    }

    // A paste longer than the field is cut to it, with a message naming the
    // field and the limit; what is left stores.
    void anOverlongPasteIsCut_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("column");

        QTest::newRow("name") << QString("etName") << QString("Business/account name") << 0;
        QTest::newRow("VAT number") << QString("etVAT") << QString("VAT number") << 1;
        QTest::newRow("account number") << QString("etAccountNr") << QString("Account number") << 2;
    }

    void anOverlongPasteIsCut()
    {
        QFETCH(QString, box);
        QFETCH(QString, caption);
        QFETCH(int, column);
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1", "12");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, b(id));
        auto* target = w.findChild<TextBox*>(box);
        const QString pasted = QString(250, QLatin1Char('x')) + QStringLiteral("0123456789");
        QGuiApplication::clipboard()->setText(pasted);
        DialogScript script;
        script.answer(vbOK);

        typeInto(target, QString());
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(script.messages().size(), 1);
        expectBox(script.messages().at(0),
                  caption +
                      QStringLiteral(" takes at most 255 characters; the text was cut to fit."),
                  vbOKOnly, vbExclamation);
        QCOMPARE(target->Text(), pasted.left(255));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored().constFirst().at(column).toString(), pasted.left(255));
    }

    // The toolbar from the keyboard: Ctrl+S saves, Ctrl+N starts a new
    // business, Delete in the list deletes; the tooltips name the keys.
    void shortcutsWorkTheToolbar()
    {
        Businesses f;
        const qint64 id = f.raw.business("Abbey");
        f.raw.business("Brook");
        frmBusinesses& w = f.open();
        QCOMPARE(w.Toolbar1->Button(Save)->toolTip(), QStringLiteral("Save (Ctrl+S)"));
        QCOMPARE(w.Toolbar1->Button(New)->toolTip(), QStringLiteral("New (Ctrl+N)"));
        QCOMPARE(w.Toolbar1->Button(Delete)->toolTip(), QStringLiteral("Delete (Del)"));

        clickItem(w.LV1, b(id));
        typeInto(w.etName, QStringLiteral("Abbey Road"));
        QTest::keyClick(w.etName, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.stored().constFirst(), row("Abbey Road"));
        // The save is confirmed in the window's status line, in full.
        QCOMPARE(w.StatusLine->text(), QStringLiteral("Saved Abbey Road"));
        QVERIFY(w.StatusLine->isVisible());
        QVERIFY(w.StatusLine->width() >= w.StatusLine->sizeHint().width());

        // In a box Delete edits the text and deletes no business.
        QTest::keyClick(w.etName, Qt::Key_Home);
        QTest::keyClick(w.etName, Qt::Key_Delete);
        QCOMPARE(w.etName->Text(), QStringLiteral("bbey Road"));
        QCOMPARE(w.StatusLine->text(), QString());
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 2);

        DialogScript script;
        script.answer(vbNo).answer(vbYes);
        QTest::keyClick(w.etName, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(w.etName->Text(), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        clickItem(w.LV1, b(id));
        QTest::keyClick(w.LV1, Qt::Key_Delete);
        QCOMPARE(script.messages().size(), 2);
        expectBox(
            script.messages().at(1),
            QStringLiteral("Delete Abbey Road and all it's related information including accounts?"
                           "\r\rThat is Abbey Road alone: it has no transactions and no category "
                           "allocations."),
            vbYesNo, vbExclamation);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Brook")});
    }

    void theMenuOpensTheWindowModally()
    {
        Businesses f;
        f.env.openDatabase(f.file.path());
        RegisterLookupWindows();
        frmMain& frame = frmMain::instance();
        frame.show();

        QCOMPARE(modalTitle([&] { frame.mnuBusinesses->trigger(); }),
                 QStringLiteral("Businesses/Accounts"));
    }
};

QTEST_MAIN(tst_Businesses)
#include "tst_businesses.moc"
