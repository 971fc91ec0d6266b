// Rows typed on the sheet with real X key events, checked in the file: the
// keys a person types, at the speeds a person (or a keyboard's repeat) types
// them, land in the cells they were typed on.

#include "XSheet.h"

using namespace xsheet;
namespace x = xsession;

class tst_Typing : public QObject
{
    Q_OBJECT

private slots:
    void plainRowTypedCellByCell_data();
    void plainRowTypedCellByCell();
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
    x::clickCell(s.g, 3, Description);
    x::type(QStringLiteral("Flour bag"), delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);
    x::type(QStringLiteral("O"), delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);
    QCOMPARE(XSheet::cursor(s.g), QPoint(Date, 3));
    const QDate date = XSheet::typeDay(5, delayMs);
    x::clickCell(s.g, 3, Receipt);
    x::type(QStringLiteral("1002"), delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);
    x::type(QStringLiteral("Miller"), delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);
    x::type(QStringLiteral("1234.5"), delayMs);
    x::keys({QStringLiteral("Return")}, delayMs);

    const QString expected = QStringList{date.toString(Qt::ISODate),
                                         "Flour bag",
                                         QString::number(s.office),
                                         "n/a",
                                         "0/001/002",
                                         "Miller",
                                         "1234.50",
                                         "0",
                                         "1"}
                                 .join(u'|');
    QCOMPARE(s.storedRows().value(2), expected);
    QCOMPARE(s.g.Rows(), 7); // a new entry row under the stored one
}

XKEYS_MAIN(tst_Typing)
#include "tst_typing.moc"
