// The businesses window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/LookupWindows.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

#include <QSignalSpy>
#include <QTimer>

using namespace LookupDriver;

namespace {

const QString Save = QStringLiteral("save");
const QString Delete = QStringLiteral("delete");

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
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);

        QCOMPARE(rows(w.LV1),
                 (QStringList{key('b', abbey) + "|Abbey|" + QString::number(abbey) + "|n/a",
                              key('b', zeta) + "|Zeta Ltd|" + QString::number(zeta) + "|NL001"}));
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));

        // Empty boxes store Null; a second save changes the row just added.
        typeInto(w.etName, QStringLiteral("Corner Shop"));
        pressButton(w.Toolbar1, Save);
        const qint64 id =
            f.raw.value(QStringLiteral("SELECT max(BusinessId) FROM Businesses")).toLongLong();
        QCOMPARE(f.stored().constLast(), row("Corner Shop"));
        QCOMPARE(selectedKey(w.LV1), key('b', id));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        typeInto(w.etVAT, QStringLiteral("GB123"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.stored(), (QList<QVariantList>{row("Zeta Ltd", "NL001"), row("Abbey"),
                                                  row("Corner Shop", "GB123")}));
        QCOMPARE(w.LV1->Find(key('b', id))->SubItems(2), QStringLiteral("GB123"));
        QCOMPARE(changed.count(), 2);

        // Emptying a box later is no change, and a save leaves the stored value.
        typeInto(w.etVAT, QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        typeInto(w.etAccountNr, QStringLiteral("456"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored().constLast(), row("Corner Shop", "GB123", "456"));
    }

    void saveButtonFollowsTheChangeCheck_data()
    {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");

        const auto add = [](const char* name, bool clickFirst, const char* box, const char* text,
                            bool enabled) {
            QTest::newRow(name) << clickFirst << QString(box) << QString(text) << enabled;
        };
        add("new: a name", false, "etName", "Carlton", true);
        add("new: a VAT number only", false, "etVAT", "NL9", false);
        add("shown: name unchanged", true, "etName", "Abbey", false);
        add("shown: name in capitals", true, "etName", "ABBEY", true);
        add("shown: name emptied", true, "etName", "", false);
        // Nothing stored yet: typed text is a change, or it could never be saved.
        add("shown: account where none stored", true, "etAccountNr", "12", true);
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
        if (clickFirst) {
            clickItem(w.LV1, key('b', id));
            QCOMPARE(w.etAccountNr->Text(), QString()); // Null
        }
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
        clickItem(w.LV1, key('b', id));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);
        DialogScript script;
        script.answer(vbNo).answer(vbYes);

        pressButton(w.Toolbar1, Delete);
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 2);
        pressButton(w.Toolbar1, Delete);

        expectBox(script.messages().at(0),
                  QStringLiteral(
                      "Delete Abbey & Sons and all it's related information including accounts?"),
                  vbYesNo, vbExclamation);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Keep")});
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 1);
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QCOMPARE(changed.count(), 1);

        // The window now holds a new business: a save adds one.
        typeInto(w.etName, QStringLiteral("Newcomer"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), (QList<QVariantList>{row("Keep"), row("Newcomer")}));
    }

    void closingAsksWhenThereAreEdits_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("open");

        QTest::newRow("cancel keeps the edits") << "button"
                                                << "Abbey Road" << vbCancel << true;
        QTest::newRow("yes stores them") << "escape"
                                         << "Abbey Road" << vbYes << false;
        QTest::newRow("no edits, no question") << "title bar"
                                               << "Abbey" << 0 << false;
    }

    void closingAsksWhenThereAreEdits()
    {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, open);
        Businesses f;
        const qint64 id = f.raw.business("Abbey");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', id));
        typeInto(w.etName, typed);
        DialogScript script;
        if (answer)
            script.answer(answer);

        if (how == QLatin1String("button"))
            pressButton(w.Toolbar1, QStringLiteral("close"));
        else if (how == QLatin1String("title bar"))
            w.close();
        else
            QTest::keyClick(w.etName, Qt::Key_Escape);

        QCOMPARE(script.messages().size(), answer ? 1 : 0);
        if (answer)
            expectBox(script.messages().at(0),
                      QStringLiteral("Save changes before closing this window?"), vbYesNoCancel,
                      vbQuestion);
        QCOMPARE(w.isVisible(), open);
        QCOMPARE(w.etName->Text(), typed);
        QCOMPARE(f.stored(), QList<QVariantList>{row(answer == vbYes ? typed : "Abbey")});
    }

    void clickingAnotherBusinessWithEditsAsks()
    {
        Businesses f;
        const qint64 a = f.raw.business("Abbey");
        const qint64 b = f.raw.business("Brook", "NL7");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', a));
        typeInto(w.etName, QStringLiteral("Abbey Road"));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, key('b', b));

        expectBox(script.messages().at(0), QStringLiteral("Do you want to save changes?"), vbYesNo,
                  vbQuestion);
        QCOMPARE(f.stored(), (QList<QVariantList>{row("Abbey Road"), row("Brook", "NL7")}));
        QCOMPARE(w.etName->Text(), QStringLiteral("Brook"));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
    }

    void aTypedNewBusinessIsNeverDroppedUnasked()
    {
        Businesses f;
        const qint64 a = f.raw.business("Abbey");
        const qint64 b = f.raw.business("Brook");
        frmBusinesses& w = f.open();
        // The table stands on Abbey, and the new business gets the same name.
        clickItem(w.LV1, key('b', a));
        pressButton(w.Toolbar1, QStringLiteral("new"));
        typeInto(w.etName, QStringLiteral("Abbey"));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, key('b', b));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(f.stored(), (QList<QVariantList>{row("Abbey"), row("Brook"), row("Abbey")}));
        QCOMPARE(w.LV1->Count(), 3);
    }

    // The close question's Yes meets an empty name: the error, and the window
    // stays open with the user's text.
    void aRefusedWriteKeepsTheWindowAndTheText()
    {
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', id));
        typeInto(w.etName, QString());
        typeInto(w.etVAT, QStringLiteral("NL2"));
        DialogScript script;
        script.answer(vbYes).answer(vbOK);

        pressButton(w.Toolbar1, QStringLiteral("close"));

        const MessageRequest& error = script.messages().constLast();
        QVERIFY2(error.prompt.startsWith(QStringLiteral("Error 3315:  ")),
                 qPrintable(error.prompt));
        QVERIFY(w.isVisible());
        QCOMPARE(w.etVAT->Text(), QStringLiteral("NL2"));
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL1")});

        // Nothing of the refused write is left pending: mended, it saves.
        typeInto(w.etName, QStringLiteral("Abbey"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL2")});
    }

    void theMenuOpensTheWindowModally()
    {
        Businesses f;
        f.env.openDatabase(f.file.path());
        RegisterLookupWindows();
        frmMain& frame = frmMain::instance();
        frame.show();
        QString seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            poll.stop();
            seen = modal->windowTitle();
            modal->close();
        });
        poll.start(10);

        frame.mnuBusinesses->trigger();

        QCOMPARE(seen, QStringLiteral("Businesses/Accounts"));
    }
};

QTEST_MAIN(tst_Businesses)
#include "tst_businesses.moc"
