// Dates and relations typed on the sheet with real X key events, checked in
// the file: a date in any of the forms people type lands as that date, text
// that is no date is refused, and a relation shortened with Backspace or
// Delete is stored as the user left it.

#include "platform/ProgramLocale.h"
#include "sheet/SheetTestKit.h"
#include "support/XSession.h"

using namespace sheetkit;
namespace x = xsession;

namespace {

// The sheet of sheetkit::Loaded (row 1 an expense with the relation "Abbey",
// row 2 an income with "Abbot") with the X input focus, so that typed keys
// reach it.
struct XLoaded : Loaded
{
    XLoaded()
    {
        w.window()->activateWindow();
        x::settle();
    }
};

// Clicks the cell a pixel or two away from the last click: a synchronous
// pointer move to where the pointer already is waits for a motion that never
// comes, which made every row after the first take seconds.
void clickCell(FlexGrid& grid, int row, int col)
{
    static int shift = 0;
    shift = (shift + 1) % 4;
    grid.scrollTo(grid.model()->index(row - 1, col - 1));
    x::settle();
    x::click(&grid, grid.cellRect(row, col).center() + QPoint(shift - 2, 0));
}

} // namespace

class tst_TypedValues : public QObject
{
    Q_OBJECT

private slots:
    void dateTypedOverADate_data();
    void dateTypedOverADate();
    void textThatIsNoDateIsRefused();
    void relationShortenedByTheUser_data();
    void relationShortenedByTheUser();
};

void tst_TypedValues::dateTypedOverADate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("delayMs");
    const int year = QDate::currentDate().year();
    const QString yy = QString::number(year % 100).rightJustified(2, u'0');
    QTest::newRow("as shown") << "16/Jun/2025" << QDate(2025, 6, 16) << 10;
    QTest::newRow("as shown, back to back") << "16/Jun/2025" << QDate(2025, 6, 16) << 0;
    QTest::newRow("digits") << "15/11/2026" << QDate(2026, 11, 15) << 10;
    QTest::newRow("dashes") << "15-11-2026" << QDate(2026, 11, 15) << 10;
    QTest::newRow("full stops") << "15.11.2026" << QDate(2026, 11, 15) << 10;
    QTest::newRow("two-digit year") << "15/11/" + yy << QDate(year, 11, 15) << 10;
}

void tst_TypedValues::dateTypedOverADate()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(int, delayMs);
    XLoaded s;
    DialogScript script;
    clickCell(s.g, 1, Date);
    x::type(typed, delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);
    QCOMPARE(s.stored("TransactionDate", s.expense), QVariant(date.toString(Qt::ISODate)));
    QCOMPARE(s.g.TextMatrix(1, Date), ProgramLocale::formatDate(date));
}

void tst_TypedValues::textThatIsNoDateIsRefused()
{
    XLoaded s;
    DialogScript script;
    script.answer(vbOK);
    const auto before = s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId");
    clickCell(s.g, 1, Date);
    x::type(QStringLiteral("15/13/2026"));
    x::keys({QStringLiteral("Return")});
    QCOMPARE(script.messages().size(), 1);
    QVERIFY(script.messages().first().prompt.startsWith(QStringLiteral("A date has to be")));
    QCOMPARE(Sheet::openEditor(s.w), QStringLiteral("DT"));
    x::keys({QStringLiteral("Escape"), QStringLiteral("Down")});
    QCOMPARE(s.g.TextMatrix(1, Date), QStringLiteral("02/Mar/2026"));
    QCOMPARE(s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId"), before);
}

void tst_TypedValues::relationShortenedByTheUser_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key"); // pressed after the typed text, if any
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("delayMs");
    // Row 1 holds "Abbey", row 2 "Abbot": "Abb" completes to "Abbey".
    for (int delayMs : {40, 0}) {
        const QString pace = delayMs ? QString() : QStringLiteral(", back to back");
        QTest::addRow("backspace%s", qPrintable(pace)) << "Abb"
                                                       << "BackSpace"
                                                       << "Abb" << delayMs;
        QTest::addRow("delete%s", qPrintable(pace)) << "Abb"
                                                    << "Delete"
                                                    << "Abb" << delayMs;
        QTest::addRow("completed%s", qPrintable(pace)) << "Abbo"
                                                       << ""
                                                       << "Abbot" << delayMs;
    }
}

void tst_TypedValues::relationShortenedByTheUser()
{
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(int, delayMs);
    XLoaded s;
    DialogScript script;
    clickCell(s.g, 1, Relation);
    x::type(typed, delayMs);
    QStringList keys;
    if (!key.isEmpty())
        keys << key;
    x::keys(keys << QStringLiteral("Return"), delayMs);
    QCOMPARE(s.stored("Relation", s.expense), QVariant(stored));
    QCOMPARE(s.g.TextMatrix(1, Relation), stored);
}

XKEYS_MAIN(tst_TypedValues)
#include "tst_typedvalues.moc"
