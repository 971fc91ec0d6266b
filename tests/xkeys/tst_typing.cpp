// Rows typed on the sheet with real X key events, checked in the file: the
// keys a person types, at the speeds a person (or a keyboard's repeat) types
// them, land in the cells they were typed on.

#include "XSheet.h"

using namespace xsheet;
namespace x = xsession;

namespace {

const QString Return = QStringLiteral("Return");

// A stored row with one cell of storedRow() replaced.
QString with(QString row, int cell, const QString& value)
{
    QStringList cells = row.split(u'|');
    cells[cell] = value;
    return cells.join(u'|');
}

enum Stored
{
    SDate,
    SDescription,
    SCategory,
    SInvoice,
    SReceipt,
    SRelation,
    SAmount
};

// Plays steps on the sheet: "click R C" clicks the cell in column C of row R
// (0 the expense, 1 the income), "key NAMES" presses X keys
// by name, anything else is typed ("\n" is Enter, "\t" Tab).
void play(const XSheet& s, const QStringList& steps, int delayMs)
{
    for (const QString& step : steps) {
        const QStringList words = step.split(u' ');
        if (words.size() == 3 && words[0] == QLatin1String("click"))
            x::clickCell(s.g(), words[1] == u'0' ? s.expenseAt : s.incomeAt, words[2].toInt());
        else if (words[0] == QLatin1String("key"))
            x::keys(words.mid(1), delayMs);
        else
            x::type(step, delayMs);
    }
}

// The stored row with changes "CELL=VALUE" (cells as in Stored).
QString changed(QString row, const QStringList& changes)
{
    for (const QString& change : changes) {
        const qsizetype eq = change.indexOf(u'=');
        row = with(row, change.left(eq).toInt(), change.mid(eq + 1));
    }
    return row;
}

} // namespace

class tst_Typing : public QObject
{
    Q_OBJECT

private slots:
    void plainRowTypedCellByCell_data();
    void plainRowTypedCellByCell();
    void keysLandInTheCellsTheyAreTypedOn_data();
    void keysLandInTheCellsTheyAreTypedOn();
    void burstsOnALongSheet_data();
    void burstsOnALongSheet();
    void arrowKeysInABurst_data();
    void arrowKeysInABurst();
};

void tst_Typing::plainRowTypedCellByCell_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::newRow("slow") << 80;
    QTest::newRow("steady") << 40;
}

// A new expense on the entry row, each cell reached with the pointer or Enter.
void tst_Typing::plainRowTypedCellByCell()
{
    QFETCH(int, delayMs);
    XSheet s;
    const int entry = s.g().Rows() - 3;
    x::clickCell(s.g(), entry, Description);
    x::type(QStringLiteral("Flour bag"), delayMs);
    x::keys({Return}, delayMs);
    x::type(QStringLiteral("O"), delayMs);
    x::keys({Return}, delayMs);
    QCOMPARE(XSheet::cursor(s.g()), QPoint(Date, entry));
    const QDate date = XSheet::typeDay(5, delayMs);
    x::clickCell(s.g(), entry, Receipt);
    x::type(QStringLiteral("1002"), delayMs);
    x::keys({Return}, delayMs);
    x::type(QStringLiteral("Miller"), delayMs);
    x::keys({Return}, delayMs);
    x::type(QStringLiteral("1234.5"), delayMs);
    x::keys({Return}, delayMs);

    QString expected = with(s.expenseRow(), SDate, date.toString(Qt::ISODate));
    expected = with(expected, SDescription, QStringLiteral("Flour bag"));
    expected = with(expected, SReceipt, QStringLiteral("0/001/002"));
    expected = with(expected, SRelation, QStringLiteral("Miller"));
    expected = with(expected, SAmount, QStringLiteral("1234.50"));
    QCOMPARE(s.storedRow(s.lastId()), expected);
    QCOMPARE(s.g().Rows(), 7); // a new entry row under the stored one
}

void tst_Typing::keysLandInTheCellsTheyAreTypedOn_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("onIncome"); // the row checked afterwards
    QTest::addColumn<QStringList>("changes");
    const QString relation = QString::number(Relation);
    // A key on a cell without an editor moves on, and starts the edit there.
    QTest::newRow("amount after the relation of an income")
        << QStringList{"click 1 " + relation, "Walk-in\n612.40\n"} << true
        << QStringList{"5=Walk-in", "6=612.40"};
    QTest::newRow("receipt typed on n/a")
        << QStringList{"click 0 " + QString::number(Invoice), "1002\n"} << false
        << QStringList{"4=0/001/002"};
    QTest::newRow("amount typed on the debited of an income")
        << QStringList{"click 1 " + QString::number(Debited), "7.5\n"} << true
        << QStringList{"6=7.50"};
    // Tab and Shift+Tab commit and go to the next (previous) cell with an
    // editor; the keys after them edit that cell.
    QTest::newRow("tab from receipt to relation")
        << QStringList{"click 0 " + QString::number(Receipt), "77\tMiller\n"} << false
        << QStringList{"4=0/000/077", "5=Miller"};
    QTest::newRow("tab from relation past debited of an income")
        << QStringList{"click 1 " + relation, "Miller\t30\n"} << true
        << QStringList{"5=Miller", "6=30.00"};
    QTest::newRow("shift+tab from relation to receipt")
        << QStringList{"click 0 " + relation, "Miller", "key shift+Tab", "55\n"} << false
        << QStringList{"4=0/000/055", "5=Miller"};
    QTest::newRow("tab from description to category")
        << QStringList{"click 0 " + QString::number(Description), "Pens\tP\n"} << false
        << QStringList{"1=Pens", "2=petty"};
}

void tst_Typing::keysLandInTheCellsTheyAreTypedOn()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, onIncome);
    QFETCH(QStringList, changes);
    XSheet s;
    play(s, steps, 30);
    QString expected = changed(onIncome ? s.incomeRow() : s.expenseRow(), changes);
    expected.replace(QLatin1String("|petty|"), QStringLiteral("|%1|").arg(s.petty));
    QCOMPARE(s.storedRow(onIncome ? s.income : s.expense), expected);
    QCOMPARE(XSheet::openEditor(s.sheet()), QStringLiteral("none"));
    QCOMPARE(QApplication::focusWidget(), &s.g());
}

void tst_Typing::burstsOnALongSheet_data()
{
    QTest::addColumn<int>("delayMs");
    for (int delay : {0, 5, 10})
        for (int round = 1; round <= 3; ++round)
            QTest::addRow("%d ms apart, round %d", delay, round) << delay;
}

// On a sheet of 20,000 rows each commit takes a while, and the keys typed
// meanwhile queue up; none may be lost or overtake another.
void tst_Typing::burstsOnALongSheet()
{
    QFETCH(int, delayMs);
    XSheet s(20000);
    play(s,
         {"click 0 " + QString::number(Description), "Mnop\nP\n",
          "click 0 " + QString::number(Relation), "Qrst\n25\n"},
         delayMs);
    const QString expected =
        changed(s.expenseRow(), {"1=Mnop", "2=" + QString::number(s.petty), "5=Qrst", "6=25.00"});
    QCOMPARE(s.storedRow(s.expense), expected);
}

void tst_Typing::arrowKeysInABurst_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("arrow");
    // Keys back to back: the next key is queued before the commit ends.
    for (const char* arrow : {"Down", "Up"})
        QTest::addRow("%s", arrow) << 0 << arrow;
}

// An amount, an arrow, the amount of the row the arrow goes to: the second
// amount lands on that row, however soon it follows the arrow.
void tst_Typing::arrowKeysInABurst()
{
    QFETCH(int, delayMs);
    QFETCH(QString, arrow);
    XSheet s(20000);
    // Under the expense and above it: expenses of the long sheet.
    const int other = s.expenseAt + (arrow == "Down" ? 1 : -1);
    if (other == s.incomeAt)
        QSKIP("the income is next to the expense in this order");
    const qint64 otherId = s.g().RowData(other);
    x::clickCell(s.g(), s.expenseAt, Debited);
    x::keys({"5", arrow, "7", "Return"}, delayMs);
    QCOMPARE(s.stored("TotalPrice", s.expense), QVariant(5.0));
    QCOMPARE(s.stored("TotalPrice", otherId), QVariant(7.0));
}

XKEYS_MAIN(tst_Typing)
#include "tst_typing.moc"
