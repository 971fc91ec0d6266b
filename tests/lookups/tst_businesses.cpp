// The businesses window, driven through its real widgets with scripted message
// boxes, checked against what the database file holds.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/LookupWindows.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <memory>

#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

using namespace LookupDriver;

namespace {

const QString Save = QStringLiteral("save");
const QString Delete = QStringLiteral("delete");

// A database file with the program's globals open on it; the window opens once
// the test has arranged its rows.
struct Fixture
{
    TempDatabase file;
    ShellEnvironment env;
    RawDb raw{file.path()};
    std::unique_ptr<frmBusinesses> window;

    frmBusinesses& open()
    {
        env.openDatabase(file.path());
        window = std::make_unique<frmBusinesses>();
        if (!window->Load())
            throw std::runtime_error("the window did not load");
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowExposed(window.get()))
            throw std::runtime_error("the window was not shown");
        return *window;
    }

    QString key(qint64 id) const { return QStringLiteral("b") + QString::number(id); }
    QList<QVariantList> businesses()
    {
        return raw.rows(QStringLiteral("SELECT Name, VATNr, accountnr FROM Businesses ORDER BY "
                                       "BusinessId"));
    }
};

QVariantList business(const QVariant& name, const QVariant& vat, const QVariant& account)
{
    return {name, vat, account};
}

} // namespace

class tst_Businesses : public QObject
{
    Q_OBJECT

private slots:
    void opensEmptyWithTheListInNameOrder()
    {
        Fixture f;
        const qint64 zeta = f.raw.business("Zeta Ltd", "NL001");
        const qint64 abbey = f.raw.business("Abbey");
        frmBusinesses& w = f.open();

        QCOMPARE(w.windowTitle(), QStringLiteral("Businesses/Accounts"));
        QCOMPARE(w.Frame1->title(), QStringLiteral("Details"));
        QCOMPARE(w.LV1->ColumnHeaderText(1), QStringLiteral("Business/Account name"));
        QCOMPARE(w.LV1->ColumnHeaderText(3), QStringLiteral("VAT Nr."));
        QCOMPARE(rows(w.LV1),
                 (QStringList{f.key(abbey) + "|Abbey|" + QString::number(abbey) + "|n/a",
                              f.key(zeta) + "|Zeta Ltd|" + QString::number(zeta) + "|NL001"}));
        QCOMPARE(selectedKey(w.LV1), QString());
        QVERIFY(dbStuff::NewRecord);
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QCOMPARE(QApplication::focusWidget(), w.etName);
    }

    void clickShowsTheBusiness()
    {
        Fixture f;
        const qint64 id = f.raw.business("Abbey", QVariant(), "ACC-9");
        frmBusinesses& w = f.open();

        clickItem(w.LV1, f.key(id));

        QCOMPARE(w.etName->Text(), QStringLiteral("Abbey"));
        QCOMPARE(w.etVAT->Text(), QString()); // Null
        QCOMPARE(w.etAccountNr->Text(), QStringLiteral("ACC-9"));
        QCOMPARE(w.CurrentKey, f.key(id));
        QVERIFY(!dbStuff::NewRecord);
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
    }

    void newBusinessStoresNullForEmptyBoxesAndASecondSaveChangesIt()
    {
        Fixture f;
        frmBusinesses& w = f.open();
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);

        typeInto(w.etName, QStringLiteral("Corner Shop"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.businesses(), (QList<QVariantList>{business("Corner Shop", {}, {})}));
        const QString key =
            f.key(f.raw.value(QStringLiteral("SELECT BusinessId FROM Businesses")).toLongLong());
        QCOMPARE(selectedKey(w.LV1), key);
        QCOMPARE(w.LV1->Find(key)->SubItems(2), QStringLiteral("n/a"));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));

        typeInto(w.etName, QStringLiteral("Corner Shop & Co"));
        typeInto(w.etVAT, QStringLiteral("GB123"));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.businesses(), (QList<QVariantList>{business("Corner Shop & Co", "GB123", {})}));
        QCOMPARE(w.LV1->Count(), 1);
        QCOMPARE(w.LV1->Find(key)->Text(), QStringLiteral("Corner Shop & Co"));
        QCOMPARE(w.LV1->Find(key)->SubItems(2), QStringLiteral("GB123"));
        QCOMPARE(changed.count(), 2);
    }

    void emptyingABoxKeepsTheStoredValue()
    {
        Fixture f;
        const qint64 id = f.raw.business("Abbey", "NL1", "123");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, f.key(id));

        typeInto(w.etVAT, QString());
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        typeInto(w.etAccountNr, QStringLiteral("456"));
        QVERIFY(w.Toolbar1->ButtonEnabled(Save));
        pressButton(w.Toolbar1, Save);

        QCOMPARE(f.businesses(), (QList<QVariantList>{business("Abbey", "NL1", "456")}));
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
        QTest::newRow("shown: same VAT number") << true << "etVAT"
                                                << "NL1" << false;
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
        Fixture f;
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        if (clickFirst)
            clickItem(w.LV1, f.key(id));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));

        typeInto(w.findChild<TextBox*>(box), text);

        QCOMPARE(w.Toolbar1->ButtonEnabled(Save), enabled);
    }

    void deleteAsksAndTakesTheBusinessWithItsRows()
    {
        Fixture f;
        const qint64 keep = f.raw.business("Keep");
        const qint64 id = f.raw.business("Abbey & Sons");
        const qint64 cat = f.raw.category("Fuel", false);
        f.raw.allocate(cat, id);
        f.raw.allocate(cat, keep);
        f.raw.transaction({.business = id, .category = cat});
        f.raw.transaction({.business = keep, .category = cat});
        frmBusinesses& w = f.open();
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);
        clickItem(w.LV1, f.key(id));
        DialogScript script;
        script.answer(vbNo).answer(vbYes);

        pressButton(w.Toolbar1, Delete); // No: nothing happens
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 2);
        QCOMPARE(w.etName->Text(), QStringLiteral("Abbey & Sons"));
        pressButton(w.Toolbar1, Delete);

        const MessageRequest& box = script.messages().at(0);
        QCOMPARE(box.prompt,
                 QStringLiteral(
                     "Delete Abbey & Sons and all it's related information including accounts?"));
        QCOMPARE(box.buttons(), vbYesNo);
        QCOMPARE(box.icon(), vbExclamation);
        QCOMPARE(box.title, QStringLiteral("Zantoro"));
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(f.raw.count(QStringLiteral("relCat_Bis")), 1);
        QCOMPARE(rows(w.LV1).size(), 1);
        QCOMPARE(selectedKey(w.LV1), QString());
        QCOMPARE(w.etName->Text(), QString());
        QVERIFY(dbStuff::NewRecord);
        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QCOMPARE(changed.count(), 1);

        // The window now holds a new business: a save adds one.
        typeInto(w.etName, QStringLiteral("Newcomer"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.businesses(),
                 (QList<QVariantList>{business("Keep", {}, {}), business("Newcomer", {}, {})}));
    }

    void deleteIsOnlyReachableWithABusinessSelected()
    {
        Fixture f;
        const qint64 id = f.raw.business("Abbey");
        frmBusinesses& w = f.open();
        DialogScript script; // any message box fails the test

        pressButton(w.Toolbar1, Delete);
        clickItem(w.LV1, f.key(id));
        QVERIFY(w.Toolbar1->ButtonEnabled(Delete));
        pressButton(w.Toolbar1, QStringLiteral("new"));
        pressButton(w.Toolbar1, Delete);

        QVERIFY(!w.Toolbar1->ButtonEnabled(Delete));
        QCOMPARE(selectedKey(w.LV1), QString());
        QCOMPARE(script.shown(), 0);
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 1);
    }

    void closingWithEditsAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("stored");

        QTest::newRow("cancel keeps the window") << vbCancel << true << "Abbey";
        QTest::newRow("no drops the edits") << vbNo << false << "Abbey";
        QTest::newRow("yes saves them") << vbYes << false << "Abbey Road";
    }

    void closingWithEditsAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, open);
        QFETCH(QString, stored);
        Fixture f;
        const qint64 id = f.raw.business("Abbey");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, f.key(id));
        typeInto(w.etName, QStringLiteral("Abbey Road"));
        DialogScript script;
        script.answer(answer);

        pressButton(w.Toolbar1, QStringLiteral("close"));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Save changes before closing this window?"));
        QCOMPARE(script.messages().at(0).buttons(), vbYesNoCancel);
        QCOMPARE(script.messages().at(0).icon(), vbQuestion);
        QCOMPARE(w.isVisible(), open);
        QCOMPARE(w.etName->Text(), QStringLiteral("Abbey Road"));
        QCOMPARE(f.businesses().at(0).at(0).toString(), stored);
    }

    void everyWayOfClosingAsks()
    {
        Fixture f;
        frmBusinesses& w = f.open();
        typeInto(w.etName, QStringLiteral("Unsaved"));
        DialogScript script;
        script.answer(vbCancel).answer(vbCancel).answer(vbNo);

        w.close(); // the title bar's close
        QTest::keyClick(w.etName, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        w.close();

        QCOMPARE(script.messages().size(), 3);
        QVERIFY(!w.isVisible());
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 0);
    }

    void closingWithoutEditsAsksNothing()
    {
        Fixture f;
        const qint64 id = f.raw.business("Abbey");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, f.key(id));
        typeInto(w.etVAT, QString()); // emptying is no edit
        DialogScript script;

        pressButton(w.Toolbar1, QStringLiteral("close"));

        QCOMPARE(script.shown(), 0);
        QVERIFY(!w.isVisible());
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
        Fixture f;
        const qint64 a = f.raw.business("Abbey");
        const qint64 b = f.raw.business("Brook", "NL7");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, f.key(a));
        typeInto(w.etName, QStringLiteral("Abbey Road"));
        QSignalSpy changed(&dbStuff::Notifier::instance(), &dbStuff::Notifier::businessesChanged);
        DialogScript script;
        script.answer(answer);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(script.messages().at(0).prompt, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(script.messages().at(0).buttons(), vbYesNo);
        QCOMPARE(script.messages().at(0).icon(), vbQuestion);
        QCOMPARE(f.businesses(),
                 (QList<QVariantList>{business(first, {}, {}), business("Brook", "NL7", {})}));
        QCOMPARE(w.LV1->Find(f.key(a))->Text(), first);
        QCOMPARE(w.etName->Text(), QStringLiteral("Brook"));
        QCOMPARE(w.etVAT->Text(), QStringLiteral("NL7"));
        QCOMPARE(selectedKey(w.LV1), f.key(b));
        QCOMPARE(w.CurrentKey, f.key(b));
        QVERIFY(!w.Toolbar1->ButtonEnabled(Save));
        QCOMPARE(changed.count(), answer == vbYes ? 1 : 0);
    }

    void aTypedNewBusinessIsNeverDroppedUnasked()
    {
        Fixture f;
        const qint64 a = f.raw.business("Abbey");
        const qint64 b = f.raw.business("Brook");
        frmBusinesses& w = f.open();
        // The table stands on Abbey, and the new business gets the same name.
        clickItem(w.LV1, f.key(a));
        pressButton(w.Toolbar1, QStringLiteral("new"));
        typeInto(w.etName, QStringLiteral("Abbey"));
        QVERIFY(w.Toolbar1->ButtonEnabled(Save));
        DialogScript script;
        script.answer(vbYes);

        clickItem(w.LV1, f.key(b));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(f.raw.value(QStringLiteral("SELECT count(*) FROM Businesses WHERE Name = 'Abbey'"))
                     .toInt(),
                 2);
        QCOMPARE(w.LV1->Count(), 3);
        QCOMPARE(w.etName->Text(), QStringLiteral("Brook"));
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
        const qint64 id = f.raw.business("Abbey", "NL1");
        frmBusinesses& w = f.open();
        clickItem(w.LV1, f.key(id));
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
        QCOMPARE(w.etName->Text(), QString());
        QCOMPARE(w.etVAT->Text(), QStringLiteral("NL2"));
        QCOMPARE(f.businesses(), (QList<QVariantList>{business("Abbey", "NL1", {})}));

        // Nothing of the refused write is left pending: mended, it saves.
        typeInto(w.etName, QStringLiteral("Abbey"));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.businesses(), (QList<QVariantList>{business("Abbey", "NL2", {})}));
    }

    void aNameTooLongIsRefusedAndNothingIsAdded()
    {
        Fixture f;
        frmBusinesses& w = f.open();
        typeInto(w.etName, QString(256, QLatin1Char('x')));
        DialogScript script;
        script.answer(vbOK);

        pressButton(w.Toolbar1, Save);

        QVERIFY(script.messages().at(0).prompt.startsWith(QStringLiteral("Error 3163:  ")));
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 0);
        QCOMPARE(w.LV1->Count(), 0);
        QVERIFY(dbStuff::NewRecord);

        typeInto(w.etName, QString(255, QLatin1Char('x')));
        pressButton(w.Toolbar1, Save);
        QCOMPARE(f.raw.count(QStringLiteral("Businesses")), 1);
    }

    void layoutFollowsTheWindowAndNeverFails()
    {
        Fixture f;
        frmBusinesses& w = f.open();
        DialogScript script; // a layout error would show a box and fail here

        w.resize(Twips::toPixels(QSize(9000, 6000)));
        QCOMPARE(w.LV1->geometry().top(), w.Toolbar1->geometry().bottom() + 1);
        QCOMPARE(w.LV1->width(), w.width());
        QCOMPARE(w.Frame1->geometry().top(), w.LV1->geometry().bottom() + 1 + Twips::toPixels(120));
        QCOMPARE(w.Frame1->height(), Twips::toPixels(1695));

        w.resize(40, 30);
        QCOMPARE(w.LV1->height(), 0);
        QCOMPARE(script.shown(), 0);
    }

    void theMenuOpensTheWindowModally()
    {
        Fixture f;
        f.env.openDatabase(f.file.path());
        RegisterLookupWindows();
        frmMain& frame = frmMain::instance();
        frame.show();
        QString seen;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            poll.stop();
            seen = modal->windowTitle();
            if (auto* w = qobject_cast<frmBusinesses*>(modal))
                pressButton(w->Toolbar1, QStringLiteral("close"));
            else
                modal->close();
        });
        poll.start();

        frame.mnuBusinesses->trigger();

        QCOMPARE(seen, QStringLiteral("Businesses/Accounts"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QTEST_MAIN(tst_Businesses)
#include "tst_businesses.moc"
