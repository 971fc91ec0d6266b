#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
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
    void twipsOfTheScreen();

    void datePickerNullWhenUnticked();
    void datePickerUserChanges();
    void datePickerKeyDownMayEndKey();

    void comboItemDataAndRange();
    void comboClickOnlyFromUserOrWhenAsked();
    void comboChangeReentersForCompletion();

    void toolbarButtonsByKey();
    void tabStripClickAndClientArea();
    void textBoxKeysAndChange();
    void postedCharacterArrivesAsTyped();
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

void TestControls::twipsOfTheScreen()
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    QCOMPARE(Twips::perPixel(), 1440.0 / dpi);
    QCOMPARE(Twips::toPixels(QRect(120, 360, 1695, 315)),
             QRect(Twips::toPixels(120, dpi), Twips::toPixels(360, dpi), Twips::toPixels(1695, dpi),
                   Twips::toPixels(315, dpi)));
}

void TestControls::datePickerNullWhenUnticked()
{
    DatePicker picker;
    QSignalSpy change(&picker, &DatePicker::Change);
    QCOMPARE(picker.Value(), Variant(QDate::currentDate()));

    picker.setValue(QDate(2026, 12, 5));
    QCOMPARE(picker.Value(), Variant(QDate(2026, 12, 5)));
    QCOMPARE(picker.findChild<QDateEdit*>()->text(), QString("05/Dec/2026"));

    // Unticked: no date, though the last one stays on show.
    picker.setValue(Variant::null());
    QVERIFY(picker.Value().isNull());
    QCOMPARE(picker.date(), QDate(2026, 12, 5));

    picker.setValue(Variant("31/01/2027"));
    QCOMPARE(picker.Value(), Variant(QDate(2027, 1, 31)));
    QVERIFY_THROWS_EXCEPTION(VbError, picker.setValue(Variant("not a date")));
    QCOMPARE(change.count(), 0);

    // Without the box a picker always holds a date.
    picker.setValue(Variant::null());
    picker.setCheckBox(false);
    QCOMPARE(picker.Value(), Variant(QDate(2027, 1, 31)));
    QCOMPARE(change.count(), 0);
}

void TestControls::datePickerUserChanges()
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
    auto* edit = picker.findChild<QDateEdit*>();
    picker.setFocus();
    QTRY_VERIFY(edit->hasFocus());

    // Space ticks and unticks; a date the user steps to ticks the box.
    QTest::keyClick(edit, Qt::Key_Space);
    QTest::keyClick(edit, Qt::Key_Space);
    edit->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(log, (QStringList{"2026-03-01", "null", "2026-03-02"}));
    QCOMPARE(picker.Value(), Variant(QDate(2026, 3, 2)));
}

void TestControls::datePickerKeyDownMayEndKey()
{
    Shown<DatePicker> s;
    DatePicker& picker = s.control;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    picker.setValue(QDate(2026, 3, 1));
    auto* edit = picker.findChild<QDateEdit*>();
    edit->setCurrentSection(QDateTimeEdit::DaySection);
    QList<int> codes;
    QObject::connect(&picker, &DatePicker::KeyDown, [&](int code, int) {
        codes << code;
        if (code == VKey::Down)
            s.other.setFocus(); // as an editor hands the focus back to its grid
    });
    picker.setFocus();
    QTRY_VERIFY(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Up);   // the picker steps the day
    QTest::keyClick(edit, Qt::Key_Down); // the handler took the focus: the key ends
    QCOMPARE(codes, (QList<int>{VKey::Up, VKey::Down}));
    QCOMPARE(picker.Value(), Variant(QDate(2026, 3, 2)));
    QVERIFY(s.other.hasFocus());
}

void TestControls::comboItemDataAndRange()
{
    ComboBox combo;
    combo.AddItem("Cash transactions", 1);
    combo.AddItem("Bank transactions", 2);
    combo.AddItem("Both bank and cash transactions", 3);
    QCOMPARE(combo.ListIndex(), -1);

    combo.setListIndex(2);
    QCOMPARE(combo.Text(), QString("Both bank and cash transactions"));
    combo.setText("Bank transactions");
    QCOMPARE(combo.ListIndex(), 1);
    combo.setText("Nothing like it");
    QCOMPARE(combo.ListIndex(), -1);

    for (int bad : {-1, 3}) {
        QVERIFY_THROWS_EXCEPTION(VbError, combo.ItemData(bad));
        QVERIFY_THROWS_EXCEPTION(VbError, combo.List(bad));
    }
    QVERIFY_THROWS_EXCEPTION(VbError, combo.setListIndex(3));

    combo.RemoveItem(0);
    QCOMPARE(combo.ItemData(0), qint64(2));
    combo.Clear();
    QCOMPARE(combo.ListIndex(), -1);
    QCOMPARE(combo.NewIndex(), -1);
    QCOMPARE(combo.Text(), QString());
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
    combo.setListIndex(-1);
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
}

void TestControls::comboChangeReentersForCompletion()
{
    // Completion as the relation picker does it: on every change, the first
    // entry starting with the text (any case) replaces it, with the completed
    // part selected; setting the text re-enters the handler.
    Shown<ComboBox> s(ComboBox::DropDownCombo);
    ComboBox& combo = s.control;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    combo.AddItems({"Abbey", "Abbot", "Zeeman"});
    QStringList written; // what a relation cell would receive, per change
    int depth = 0;
    int deepest = 0;
    QObject::connect(&combo, &ComboBox::Change, [&] {
        deepest = std::max(deepest, ++depth);
        const QString text = combo.Text();
        const int n = int(text.size());
        for (int i = 0; i < combo.ListCount(); ++i) {
            if (combo.List(i).left(n).toUpper() == text.toUpper()) {
                combo.setText(combo.List(i));
                combo.setSelection(n, 100);
                break;
            }
        }
        written << combo.Text();
        --depth;
    });
    combo.AddItem("Zulu"); // changing the list is no change of the text
    QCOMPARE(written, QStringList());
    combo.setFocus();
    QTRY_VERIFY(combo.lineEdit()->hasFocus());

    QTest::keyClicks(combo.lineEdit(), "ab");
    QCOMPARE(combo.Text(), QString("Abbey"));
    QCOMPARE(combo.SelStart(), 2);
    QCOMPARE(combo.SelLength(), 3);
    QCOMPARE(written.last(), QString("Abbey"));
    QCOMPARE(deepest, 2);

    // Backspace removes the selected completion; the rest completes again.
    QTest::keyClick(combo.lineEdit(), Qt::Key_Backspace);
    QCOMPARE(combo.Text(), QString("Abbey"));
    QCOMPARE(combo.SelStart(), 2);

    // Emptied, the text completes to the first entry, wholly selected; a
    // text nothing starts with then stays as typed.
    combo.setText("");
    QCOMPARE(combo.Text(), QString("Abbey"));
    QCOMPARE(combo.SelStart(), 0);
    QCOMPARE(combo.SelLength(), 5);
    QTest::keyClicks(combo.lineEdit(), "q");
    QCOMPARE(combo.Text(), QString("q"));
    QCOMPARE(written.last(), QString("q"));
}

void TestControls::toolbarButtonsByKey()
{
    Shown<Toolbar> s;
    Toolbar& bar = s.control;
    bar.addButton("print", "Print", QStyle::SP_FileIcon);
    bar.addButton("sort", "Sort");
    bar.addButton("close", "Close", QStyle::SP_DialogCloseButton);
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    QSignalSpy click(&bar, &Toolbar::ButtonClick);

    auto press = [&bar](const QString& key) {
        QTest::mouseClick(bar.widgetForAction(bar.Button(key)), Qt::LeftButton);
    };
    press("sort");
    bar.setButtonEnabled("print", false);
    press("print");
    bar.setButtonEnabled("print", true);
    press("print");
    QCOMPARE(click.count(), 2);
    QCOMPARE(click.at(0).at(0).toString(), QString("sort"));
    QCOMPARE(click.at(1).at(0).toString(), QString("print"));

    QVERIFY_THROWS_EXCEPTION(VbError, bar.setButtonEnabled("delete", true));
}

void TestControls::tabStripClickAndClientArea()
{
    Shown<TabStrip> s;
    TabStrip& tabs = s.control;
    QCOMPARE(tabs.SelectedItem(), 0);
    tabs.addTab("cash", "Cash transactions");
    tabs.addTab("bank", "Bank transactions");
    tabs.setCaption(1, "No business selected");
    tabs.setCaption(2, "Sheet is disabled");
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    QList<int> clicks;
    QObject::connect(&tabs, &TabStrip::Click, [&] { clicks << tabs.SelectedItem(); });

    QCOMPARE(tabs.SelectedItem(), 1);
    tabs.setSelectedItem(2);
    tabs.setSelectedItem(1);
    QCOMPARE(clicks, QList<int>());

    auto* bar = tabs.findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(clicks, QList<int>{2});
    QVERIFY_THROWS_EXCEPTION(VbError, tabs.setSelectedItem(3));

    // The client area lies inside the strip, under the tabs, in the parent's
    // coordinates.
    const QRect client = tabs.clientRect();
    QVERIFY(tabs.geometry().contains(client));
    QVERIFY(client.top() >= tabs.geometry().top() + bar->height());
    QCOMPARE(tabs.ClientTop(), Twips::fromPixels(client.top()));
}

void TestControls::textBoxKeysAndChange()
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
    QCOMPARE(box.SelLength(), 2);
    QTest::keyClicks(&box, "7");
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.Text(), QString("7"));
    QCOMPARE(box.SelStart(), 1);
    QCOMPARE(keys, (QStringList{"55", "p55", "13", "p13"}));
    QCOMPARE(change.count(), 2);
}

void TestControls::postedCharacterArrivesAsTyped()
{
    Shown<TextBox> s;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QList<int> presses;
    QObject::connect(&s.control, &TextBox::KeyPress, [&](int& code) { presses << code; });
    s.control.setFocus();
    postCharacter(&s.control, 'a');
    postCharacter(&s.control, '5');
    QCOMPARE(s.control.Text(), QString()); // posted: not there before events run
    QTRY_COMPARE(s.control.Text(), QString("a5"));
    QCOMPARE(presses, (QList<int>{'a', '5'}));
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
