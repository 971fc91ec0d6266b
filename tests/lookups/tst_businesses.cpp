// The businesses window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/LookupWindows.h"
#include "platform/widgets/Twips.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

#include <QGroupBox>
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
        QCOMPARE(QApplication::focusWidget(), w.etName);

        // Empty boxes store Null; a second save changes the row just added.
        typeInto(w.etName, QStringLiteral("Corner Shop"));
        pressButton(w.Toolbar1, Save);
        const qint64 id =
            f.raw.value(QStringLiteral("SELECT max(BusinessId) FROM Businesses")).toLongLong();
        QCOMPARE(f.stored().constLast(), row("Corner Shop"));
        QCOMPARE(selectedKey(w.LV1), key('b', id));
        QCOMPARE(w.LV1->Find(key('b', id))->SubItems(2), QStringLiteral("n/a"));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        typeInto(w.etVAT, QStringLiteral("GB123"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.stored(), (QList<QVariantList>{row("Zeta Ltd", "NL001"), row("Abbey"),
                                                  row("Corner Shop", "GB123")}));
        QCOMPARE(w.LV1->Find(key('b', id))->SubItems(2), QStringLiteral("GB123"));
        QCOMPARE(w.LV1->Count(), 3);
        QCOMPARE(changed.count(), 2);
    }

    void emptyingABoxKeepsTheStoredValue()
    {
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1", "123");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', id));

        typeInto(w.etVAT, QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        typeInto(w.etAccountNr, QStringLiteral("456"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.stored(), (QList<QVariantList>{row("Abbey", "NL1", "456")}));
    }

    void saveButtonFollowsTheChangeCheck_data()
    {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("new: a name") << false << "etName"
                                     << "Carlton" << true;
        QTest::newRow("new: a VAT number only") << false << "etVAT"
                                                << "NL9" << false;
        QTest::newRow("new: an account only") << false << "etAccountNr"
                                              << "77" << false;
        QTest::newRow("shown: name unchanged") << true << "etName"
                                               << "Abbey" << false;
        QTest::newRow("shown: name in capitals") << true << "etName"
                                                 << "ABBEY" << true;
        QTest::newRow("shown: name emptied") << true << "etName"
                                             << "" << false;
        QTest::newRow("shown: other VAT number") << true << "etVAT"
                                                 << "NL2" << true;
        // Nothing stored yet: typed text is a change, or it could never be saved.
        QTest::newRow("shown: account where none stored") << true << "etAccountNr"
                                                          << "12" << true;
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
            QCOMPARE(w.etName->Text(), QStringLiteral("Abbey"));
            QCOMPARE(w.etVAT->Text(), QStringLiteral("NL1"));
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
        QCOMPARE(w.LV1->Count(), 1);
        QCOMPARE(selectedKey(w.LV1), QString());
        QCOMPARE(w.etName->Text(), QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QCOMPARE(changed.count(), 1);

        // The window now holds a new business: a save adds one.
        typeInto(w.etName, QStringLiteral("Newcomer"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), (QList<QVariantList>{row("Keep"), row("Newcomer")}));
    }

    void deleteIsOnlyReachableWithABusinessSelected()
    {
        Businesses f;
        const qint64 id = f.raw.business("Abbey");
        frmBusinesses& w = f.open();
        DialogScript script; // any message box fails the test

        pressButton(w.Toolbar1, Delete);
        clickItem(w.LV1, key('b', id));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        pressButton(w.Toolbar1, QStringLiteral("new"));
        pressButton(w.Toolbar1, Delete);

        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 1);
    }

    void closingAsksWhenThereAreEdits_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("stored");

        QTest::newRow("cancel keeps the edits") << "button"
                                                << "Abbey Road" << vbCancel << true << "Abbey";
        QTest::newRow("no drops them") << "title bar"
                                       << "Abbey Road" << vbNo << false << "Abbey";
        QTest::newRow("yes stores them") << "escape"
                                         << "Abbey Road" << vbYes << false << "Abbey Road";
        QTest::newRow("no edits, no question") << "button"
                                               << "Abbey" << 0 << false << "Abbey";
    }

    void closingAsksWhenThereAreEdits()
    {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, open);
        QFETCH(QString, stored);
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
        QCOMPARE(f.stored(), QList<QVariantList>{row(stored)});
    }

    void clickingAnotherBusinessWithEditsAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("first");

        QTest::newRow("yes stores them on the business shown before") << vbYes << "Abbey Road";
        QTest::newRow("no drops them") << vbNo << "Abbey";
    }

    void clickingAnotherBusinessWithEditsAsks()
    {
        QFETCH(int, answer);
        QFETCH(QString, first);
        Businesses f;
        const qint64 a = f.raw.business("Abbey");
        const qint64 b = f.raw.business("Brook", "NL7");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', a));
        typeInto(w.etName, QStringLiteral("Abbey Road"));
        DialogScript script;
        script.answer(answer);

        clickItem(w.LV1, key('b', b));

        expectBox(script.messages().at(0), QStringLiteral("Do you want to save changes?"), vbYesNo,
                  vbQuestion);
        QCOMPARE(f.stored(), (QList<QVariantList>{row(first), row("Brook", "NL7")}));
        QCOMPARE(w.LV1->Find(key('b', a))->Text(), first);
        QCOMPARE(w.etName->Text(), QStringLiteral("Brook"));
        QCOMPARE(selectedKey(w.LV1), key('b', b));
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

    void aRefusedWriteKeepsTheWindowAndTheText_data()
    {
        QTest::addColumn<bool>("viaClose");
        QTest::newRow("save button") << false;
        QTest::newRow("close question") << true;
    }

    void aRefusedWriteKeepsTheWindowAndTheText()
    {
        QFETCH(bool, viaClose);
        Businesses f;
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, key('b', id));
        typeInto(w.etName, QString());
        typeInto(w.etVAT, QStringLiteral("NL2"));
        DialogScript script;
        if (viaClose)
            script.answer(vbYes);
        script.answer(vbOK);

        pressButton(w.Toolbar1, viaClose ? QStringLiteral("close") : Save);

        const MessageRequest& error = script.messages().constLast();
        QVERIFY2(error.prompt.startsWith(QStringLiteral("Error 3315:  ")),
                 qPrintable(error.prompt));
        QCOMPARE(error.icon(), vbCritical);
        QVERIFY(w.isVisible());
        QCOMPARE(w.etVAT->Text(), QStringLiteral("NL2"));
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL1")});

        // Nothing of the refused write is left pending: mended, it saves.
        typeInto(w.etName, QStringLiteral("Abbey"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.stored(), QList<QVariantList>{row("Abbey", "NL2")});
    }

    void layoutFollowsTheWindowAndNeverFails()
    {
        Businesses f;
        frmBusinesses& w = f.open();
        DialogScript script; // a layout error would show a box and fail here

        w.resize(Twips::toPixels(QSize(9000, 6000)));
        QCOMPARE(w.LV1->geometry().top(), w.Toolbar1->geometry().bottom() + 1);
        QCOMPARE(w.LV1->width(), w.width());
        QCOMPARE(w.Frame1->geometry().top(), w.LV1->geometry().bottom() + 1 + Twips::toPixels(120));
        w.resize(40, 30);
        QCOMPARE(w.LV1->height(), 0);
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
