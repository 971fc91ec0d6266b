#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

// A shown, active window holding one control under test and a line edit to
// take the focus away from it.
template <typename Control> class Shown
{
public:
    template <typename... Args>
    explicit Shown(Args&&... args) : control(std::forward<Args>(args)...)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&other);
        layout->addWidget(&control);
        window.resize(400, 300);
        window.show();
        window.activateWindow();
    }

    QWidget window;
    QLineEdit other;
    Control control;
};

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void twipsAtGivenResolution_data();
    void twipsAtGivenResolution();
    void datePickerNullWhenUnticked();
    void datePickerUserChangesAndKeys();
    void datePickerShowsAWholeDate();
    void comboClickOnlyFromUserOrWhenAsked();
    void toolbarAndTabStripRaiseOnlyForTheUser();
    void textBoxKeysChangeAndPostedCharacters();
    void captionNamesItsBoxAsItReads_data();
    void captionNamesItsBoxAsItReads();
};

void TestControls::twipsAtGivenResolution_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("twipsBack");

    QTest::newRow("an inch at 96") << 96.0 << 1440 << 96 << 1440;
    QTest::newRow("row-number column") << 96.0 << 500 << 33 << 495;
    QTest::newRow("over half a pixel") << 96.0 << 8 << 1 << 15;
    QTest::newRow("negative offset") << 96.0 << -120 << -8 << -120;
    QTest::newRow("description minimum at 192") << 192.0 << 2000 << 267 << 2003;
}

void TestControls::twipsAtGivenResolution()
{
    QFETCH(double, dpi);
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QFETCH(int, twipsBack);
    QCOMPARE(Twips::toPixels(twips, dpi), pixels);
    QCOMPARE(Twips::fromPixels(pixels, dpi), twipsBack);
}

void TestControls::datePickerNullWhenUnticked()
{
    DatePicker picker;
    QSignalSpy change(&picker, &DatePicker::Change);
    QCOMPARE(picker.Value(), Variant(QDate::currentDate()));

    picker.setValue(QDate(2026, 9, 5));
    QCOMPARE(picker.Text(), QString("05/Sep/2026"));
    picker.setValue(QDate(2026, 12, 5));
    QCOMPARE(picker.Text(), QString("05/Dec/2026"));

    // Unticked: no date, though the last one stays on show.
    picker.setValue(Variant::null());
    QVERIFY(picker.Value().isNull());
    QCOMPARE(picker.date(), QDate(2026, 12, 5));

    picker.setValue(Variant("31/01/2027"));
    QCOMPARE(picker.Value(), Variant(QDate(2027, 1, 31)));
    QVERIFY_THROWS_EXCEPTION(VbError, picker.setValue(Variant("not a date")));

    // Without the box a picker always holds a date.
    picker.setValue(Variant::null());
    picker.setCheckBox(false);
    QCOMPARE(picker.Value(), Variant(QDate(2027, 1, 31)));
    QCOMPARE(change.count(), 0);
}

void TestControls::datePickerUserChangesAndKeys()
{
    Shown<DatePicker> s;
    DatePicker& picker = s.control;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    picker.setValue(QDate(2026, 3, 1));
    picker.setValue(Variant::null());
    QStringList log;
    QObject::connect(&picker, &DatePicker::Change, [&] {
        const Variant v = picker.Value();
        log << (v.isNull() ? QStringLiteral("null") : v.toDate().date().toString(Qt::ISODate));
    });
    QList<int> codes;
    QObject::connect(&picker, &DatePicker::KeyDown, [&](int code, int) {
        codes << code;
        if (code == VKey::Down)
            s.other.setFocus(); // as an editor hands the focus back to its grid
    });
    QLineEdit* edit = picker.lineEdit();
    picker.setFocus();
    QTRY_VERIFY(edit->hasFocus());

    // A typed date ticks the box at the first text that reads as one; text
    // that reads as none keeps the last date and says so; emptied, no date.
    edit->selectAll();
    QTest::keyClicks(edit, "15.11.2026");
    QCOMPARE(picker.Readable(), true);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(picker.Readable(), false);
    QCOMPARE(picker.Value(), Variant(QDate(2026, 11, 15)));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QVERIFY(picker.Value().isNull());
    QVERIFY(picker.Readable());
    QTest::keyClicks(edit, "16/Jun/2025");
    // A two-digit year is a date already, so the year passes through 2020.
    QCOMPARE(log, (QStringList{"2020-11-15", "2026-11-15", "null", "2020-06-16", "2025-06-16"}));

    // The calendar picks with Enter; a KeyDown handler that takes the focus
    // ends the key.
    log.clear();
    codes.clear();
    QTest::keyClick(edit, Qt::Key_F4);
    auto* calendar = picker.findChild<QCalendarWidget*>();
    QTRY_VERIFY(calendar->isVisible());
    QTest::keyClick(calendar->focusWidget(), Qt::Key_Right);
    QTest::keyClick(calendar->focusWidget(), Qt::Key_Return);
    QVERIFY(!calendar->isVisible());
    QCOMPARE(picker.Text(), QStringLiteral("17/Jun/2025"));
    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(log, (QStringList{"2025-06-17"}));
    QCOMPARE(codes, (QList<int>{VKey::F1 + 3, VKey::Down}));
    QCOMPARE(picker.Text(), QStringLiteral("17/Jun/2025"));
    QVERIFY(s.other.hasFocus());
}

void TestControls::datePickerShowsAWholeDate()
{
    Shown<DatePicker> s;
    DatePicker& picker = s.control;
    s.window.resize(40, 300);
    picker.setValue(QDate(2026, 5, 30));
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    // However narrow the window, the text part keeps room for the widest date.
    QLineEdit* edit = picker.lineEdit();
    const QFontMetrics metrics = edit->fontMetrics();
    QVERIFY(edit->width() > metrics.horizontalAdvance(QStringLiteral("30/May/2026")));
    QVERIFY(picker.minimumSizeHint().width() >= edit->minimumWidth());
}

void TestControls::comboClickOnlyFromUserOrWhenAsked()
{
    Shown<ComboBox> s(ComboBox::DropDownList);
    ComboBox& combo = s.control;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QList<int> clicks; // ListIndex as each Click saw it
    QObject::connect(&combo, &ComboBox::Click, [&] { clicks << combo.ListIndex(); });
    combo.AddItem("Debit", 0);
    combo.AddItem("Credit", 1);
    combo.setListIndex(0);
    combo.setText("Credit");
    QCOMPARE(combo.ListIndex(), 1);
    combo.setListIndex(-1);
    QVERIFY_THROWS_EXCEPTION(VbError, combo.setListIndex(2));
    QVERIFY_THROWS_EXCEPTION(VbError, combo.ItemData(2));
    QCOMPARE(clicks, QList<int>());

    combo.setListIndex(1, true);
    QCOMPARE(clicks, QList<int>{1});

    combo.setFocus();
    QTRY_VERIFY(combo.hasFocus());
    QTest::keyClick(&combo, Qt::Key_Up);
    QCOMPARE(clicks, (QList<int>{1, 0}));
    QCOMPARE(combo.ItemData(combo.ListIndex()), qint64(0));

    combo.Clear();
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(combo.ListIndex(), -1);
}

void TestControls::toolbarAndTabStripRaiseOnlyForTheUser()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new Toolbar;
    auto* tabs = new TabStrip;
    layout->addWidget(bar);
    layout->addWidget(tabs);
    bar->addButton("print", "Print", QStyle::SP_FileIcon);
    bar->addButton("sort", "Sort");
    tabs->addTab("cash", "Cash transactions");
    tabs->addTab("bank", "Bank transactions");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList log;
    QObject::connect(bar, &Toolbar::ButtonClick, [&](const QString& key) { log << key; });
    QObject::connect(tabs, &TabStrip::Click,
                     [&] { log << QStringLiteral("tab %1").arg(tabs->SelectedItem()); });

    auto press = [bar](const QString& key) {
        QTest::mouseClick(bar->widgetForAction(bar->Button(key)), Qt::LeftButton);
    };
    press("sort");
    bar->setButtonEnabled("print", false);
    press("print");
    bar->setButtonEnabled("print", true);
    press("print");
    tabs->setSelectedItem(2);
    tabs->setSelectedItem(1);
    auto* tabBar = tabs->findChild<QTabBar*>();
    QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(1).center());
    QCOMPARE(log, (QStringList{"sort", "print", "tab 2"}));

    QVERIFY_THROWS_EXCEPTION(VbError, bar->setButtonEnabled("delete", true));
    QVERIFY_THROWS_EXCEPTION(VbError, tabs->setSelectedItem(3));
}

void TestControls::textBoxKeysChangeAndPostedCharacters()
{
    Shown<TextBox> s;
    TextBox& box = s.control;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QSignalSpy change(&box, &TextBox::Change);
    QStringList keys;
    QObject::connect(&box, &TextBox::KeyDown,
                     [&](int code, int) { keys << QString::number(code); });
    QObject::connect(&box, &TextBox::KeyPress, [&](int& code) {
        keys << QStringLiteral("p%1").arg(code);
        if (code == VKey::Return)
            code = 0; // swallowed, as the amount box does
    });
    box.setText("12");
    QCOMPARE(change.count(), 1);
    box.setFocus();
    QTRY_VERIFY(box.hasFocus());
    box.setSelection(0, 1000);
    QTest::keyClicks(&box, "7");
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.Text(), QString("7"));
    QCOMPARE(keys, (QStringList{"55", "p55", "13", "p13"}));
    QCOMPARE(change.count(), 2);

    // A posted character is not there before events run, then arrives as typed.
    keys.clear();
    postCharacter(&box, 'a');
    QCOMPARE(box.Text(), QString("7"));
    QTRY_COMPARE(box.Text(), QString("7a"));
    QCOMPARE(keys.last(), QString("p97"));
}

void TestControls::captionNamesItsBoxAsItReads_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::newRow("mnemonic") << "&Business"
                              << "Business";
    QTest::newRow("mnemonic inside") << "S&how"
                                     << "Show";
    QTest::newRow("ampersand") << "Bread && cakes"
                               << "Bread & cakes";
    QTest::newRow("colon") << "VAT number:"
                           << "VAT number";
    QTest::newRow("plain") << "Start date"
                           << "Start date";
}

// The caption of a date picker names the text field that takes the focus,
// which is what a screen reader announces.
void TestControls::captionNamesItsBoxAsItReads()
{
    QFETCH(QString, caption);
    QFETCH(QString, name);
    QWidget window;
    auto* label = new QLabel(caption, &window);
    auto* picker = new DatePicker(&window);
    label->setBuddy(picker);
    Accessible::describe(label, QStringLiteral("The first day."));
    picker->setFocus();
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(picker->lineEdit());
    QCOMPARE(field->text(QAccessible::Name), name);
    QCOMPARE(field->text(QAccessible::Description), QStringLiteral("The first day."));
    QCOMPARE(picker->accessibleName(), name);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
