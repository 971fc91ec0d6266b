// Values typed into the sheet as a user types them, checked in the grid and in
// the file: dates in the forms people write them (and text that is no date),
// receipt ids too long for their field, relations shortened with Backspace or
// Delete while the picker completes them.

#include "platform/ProgramLocale.h"
#include "platform/Settings.h"
#include "SheetTestKit.h"
#include "support/DataRows.h"

using namespace sheetkit;

namespace {

const QString NotADate =
    QStringLiteral("A date has to be entered in this box, for example 16/Jun/2025 or 16/06/2025.");
const QString ReceiptTooLong = QStringLiteral("The maximum length of the receipt id is 25 "
                                              "characters. Your input will be truncated to 25");

// This year's last two digits: a two-digit year reads as this year.
QString thisYearShort()
{
    return QString::number(QDate::currentDate().year() % 100).rightJustified(2, u'0');
}

// Types keys into whatever has the focus: "\b" is Backspace, "\x7f" Delete,
// everything else the character's key.
void typeKeys(const QString& keys)
{
    for (QChar c : keys) {
        if (c == u'\b')
            Sheet::press(Qt::Key_Backspace);
        else if (c == u'\x7f')
            Sheet::press(Qt::Key_Delete);
        else
            Sheet::keys(QString(c));
    }
}

} // namespace

class tst_SheetTyping : public QObject
{
    Q_OBJECT

private slots:
    void datesAreStoredAsTyped_data();
    void datesAreStoredAsTyped();
    void textThatIsNoDateIsRefused_data();
    void textThatIsNoDateIsRefused();
    void dateEditorShowsTheWholeDate();
    void receiptIdIsCutBeforeItIsGrouped_data();
    void receiptIdIsCutBeforeItIsGrouped();
    void relationKeepsTheTextLeftByBackspaceOrDelete_data();
    void relationKeepsTheTextLeftByBackspaceOrDelete();
};

void tst_SheetTyping::datesAreStoredAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("emptyFirst"); // typed into an emptied date cell
    const int year = QDate::currentDate().year();
    QTest::newRow("as the sheet shows it") << "16/Jun/2025" << QDate(2025, 6, 16) << false;
    QTest::newRow("month name any case") << "16/jUN/2025" << QDate(2025, 6, 16) << false;
    QTest::newRow("digits") << "15/11/2026" << QDate(2026, 11, 15) << false;
    QTest::newRow("digits into an empty cell") << "15/11/2026" << QDate(2026, 11, 15) << true;
    QTest::newRow("dashes") << "15-11-2026" << QDate(2026, 11, 15) << false;
    QTest::newRow("full stops") << "15.11.2026" << QDate(2026, 11, 15) << true;
    QTest::newRow("month name with dashes") << "16-Jun-2025" << QDate(2025, 6, 16) << false;
    QTest::newRow("one-digit day and month") << "5/6/2025" << QDate(2025, 6, 5) << false;
    QTest::newRow("two-digit year") << "15/11/" + thisYearShort() << QDate(year, 11, 15) << false;
    QTest::newRow("two-digit year, full stops")
        << "1.2." + thisYearShort() << QDate(year, 2, 1) << true;
}

void tst_SheetTyping::datesAreStoredAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(bool, emptyFirst);
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, 1, Date);
    if (emptyFirst) {
        // Opened on the cell's date, all of it selected; deleted, no date.
        Sheet::press(Qt::Key_Return);
        QCOMPARE(s.w.DT->Text(), QStringLiteral("02/Mar/2026"));
        Sheet::press(Qt::Key_Delete);
        Sheet::press(Qt::Key_Return);
        QCOMPARE(s.g.TextMatrix(1, Date), QString());
        Sheet::press(Qt::Key_Left);
    }
    // The first key typed on the cell is the first character of the date.
    Sheet::enter(s.g, typed);
    QCOMPARE(Sheet::openEditor(s.w), QStringLiteral("none"));
    QCOMPARE(s.g.TextMatrix(1, Date), ProgramLocale::formatDate(date));
    QCOMPARE(s.stored("TransactionDate", s.expense), QVariant(date.toString(Qt::ISODate)));
    QCOMPARE(Sheet::cursor(s.g), QPoint(Invoice, 1));
}

void tst_SheetTyping::textThatIsNoDateIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("month 13") << "15/13/2026";
    QTest::newRow("31 April") << "31/04/2026";
    QTest::newRow("29 February, common year") << "29/Feb/2027";
    QTest::newRow("misspelt month") << "16/Jum/2025";
    QTest::newRow("no separators") << "15112026";
    QTest::newRow("two separators") << "15-11/2026";
    QTest::newRow("three-digit year") << "15/11/202";
    QTest::newRow("a word") << "yesterday";
    QTest::newRow("one key") << "7";
}

void tst_SheetTyping::textThatIsNoDateIsRefused()
{
    QFETCH(QString, typed);
    Loaded s;
    DialogScript script;
    script.answer(vbOK).answer(vbOK).answer(vbOK).answer(vbOK);
    const auto before = s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId");
    Sheet::clickCell(s.g, 1, Date);
    Sheet::type(s.g, typed);
    QCOMPARE(s.w.DT->Text(), typed);
    // Enter, the Down arrow, Tab and a click on another cell each say why,
    // once, and neither commit nor move.
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Down);
    Sheet::press(Qt::Key_Tab);
    Sheet::clickCell(s.g, 2, Description);
    QCOMPARE(script.messages().size(), 4);
    for (const MessageRequest& m : script.messages()) {
        QCOMPARE(m.prompt, NotADate);
        QCOMPARE(m.flags, vbOKOnly + vbExclamation);
        QCOMPARE(m.title, AppTitle);
    }
    QCOMPARE(Sheet::openEditor(s.w), QStringLiteral("DT"));
    QTRY_VERIFY(s.w.DT->lineEdit()->hasFocus());
    QCOMPARE(s.w.DT->Text(), typed);
    QCOMPARE(Sheet::cursor(s.g), QPoint(Date, 1));
    QCOMPARE(s.g.TextMatrix(1, Date), QStringLiteral("02/Mar/2026"));

    // Escape leaves the cell and the file as they were.
    Sheet::press(Qt::Key_Escape);
    Sheet::press(Qt::Key_Down);
    QCOMPARE(s.g.TextMatrix(1, Date), QStringLiteral("02/Mar/2026"));
    QCOMPARE(s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId"), before);
}

void tst_SheetTyping::dateEditorShowsTheWholeDate()
{
    Loaded s;
    DialogScript script;
    // The widest month.
    Sheet::clickCell(s.g, 1, Date);
    Sheet::type(s.g, "30/May/2026");
    QLineEdit* edit = s.w.DT->lineEdit();
    const int textWidth = edit->fontMetrics().horizontalAdvance(s.w.DT->Text());
    QVERIFY2(edit->contentsRect().width() > textWidth,
             qPrintable(QStringLiteral("%1 px for %2 px of text")
                            .arg(edit->contentsRect().width())
                            .arg(textWidth)));
    // Over its cell: the same left edge and top, to the pixel the twips allow.
    const QPoint cell = s.g.cellRect(1, Date).topLeft() + s.g.pos();
    const QPoint offset = s.w.DT->geometry().topLeft() - cell;
    QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
             qPrintable(QStringLiteral("%1,%2 px off the cell").arg(offset.x()).arg(offset.y())));
}

void tst_SheetTyping::receiptIdIsCutBeforeItIsGrouped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("told");
    const QString digits30 = "123456789012345678901234567890";
    QTest::newRow("30 digits") << digits30 << "12345678901234567/890/123" << true;
    QTest::newRow("24 digits") << digits30.left(24) << "12345678901234567/890/123" << true;
    QTest::newRow("23 digits fit") << digits30.left(23) << "12345678901234567/890/123" << false;
    QTest::newRow("4 digits padded") << "1234"
                                     << "0/001/234" << false;
    // Not digits alone: kept as typed, cut when stored.
    QTest::newRow("30 characters") << "R-" + digits30.left(28) << "R-" + digits30.left(23) << true;
}

void tst_SheetTyping::receiptIdIsCutBeforeItIsGrouped()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, told);
    Loaded s;
    DialogScript script;
    if (told)
        script.answer(vbOK);
    Sheet::clickCell(s.g, 1, Receipt);
    Sheet::enter(s.g, typed);
    QCOMPARE(script.messages().size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(script.messages().first().prompt, ReceiptTooLong);
        QCOMPARE(script.messages().first().flags, vbOKOnly);
    }
    QCOMPARE(s.g.TextMatrix(1, Receipt), stored);
    QCOMPARE(s.stored("ReceiptId", s.expense), QVariant(stored));
}

void tst_SheetTyping::relationKeepsTheTextLeftByBackspaceOrDelete_data()
{
    QTest::addColumn<QString>("keys");  // "\b" Backspace, "\x7f" Delete
    QTest::addColumn<QString>("shown"); // in the picker and the cell, then stored
    using datarows::row;
    row("backspace after the start of a relation", "Abb\b", "Abb");
    row("delete after the start of a relation", "Abb\x7f", "Abb");
    row("one letter short", "Abbey Mil\x7f", "Abbey Mil");
    // The completion wrote the relation's own capitals; Backspace keeps them.
    row("backspace twice", "abb\b\b", "Ab");
    // What is typed after a deletion completes again.
    row("typed on after backspace", "Abb\bo", "Abbot");
    row("completion kept", "Abbo", "Abbot");
}

void tst_SheetTyping::relationKeepsTheTextLeftByBackspaceOrDelete()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    Sheet s;
    const qint64 id = s.add({.relation = "Abbey Mill", .receiptId = "1"});
    s.add({.relation = "Abbot", .receiptId = "2"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    Sheet::clickCell(g, 1, Relation);
    Sheet::type(g, keys.left(1));
    typeKeys(keys.mid(1));
    QCOMPARE(w.cbo2->Text(), shown);
    QCOMPARE(g.TextMatrix(1, Relation), shown);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(1, Relation), shown);
    QCOMPARE(s.stored("Relation", id), QVariant(shown));
}

QTEST_MAIN(tst_SheetTyping)
#include "tst_sheettyping.moc"
