// Takes the picture of the transactions sheet for the README: the frame with
// the sheet open on a generated bakery, the relation picker completing what is
// being typed on the entry row.
//
//   bench_sheet_picture [--dark] [--size WxH] <output.png>
//
// --dark paints it in a dark palette, as a desktop's dark theme hands it to
// the program; --size gives the frame's size in logical pixels (1280x720).
// QT_SCALE_FACTOR scales it as a high-resolution screen does.

#include "platform/Settings.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DarkPalette.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

namespace {

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QStringList args = app.arguments().mid(1);
    const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    QSize frameSize(1280, 720);
    if (const qsizetype at = args.indexOf(QStringLiteral("--size"));
        at >= 0 && at + 1 < args.size()) {
        const QStringList parts = args.at(at + 1).split(QLatin1Char('x'));
        frameSize = QSize(parts.value(0).toInt(), parts.value(1).toInt());
        args.remove(at, 2);
    }
    if (args.size() != 1 || frameSize.isEmpty())
        qFatal("usage: bench_sheet_picture [--dark] [--size WxH] <output.png>");
    const QString output = args.first();
    if (dark)
        app.setPalette(darkPalette());
    QTemporaryDir dir;
    SettingsStore::setFolder(dir.filePath(QStringLiteral("config")));
    TempDatabase file;
    const QString path = file.path();
    qint64 bakery = 0;
    {
        RawDb raw(path);
        bakery = raw.business(QStringLiteral("Bakery Janssen"), QStringLiteral("NL001234567B01"));
        raw.business(QStringLiteral("Corner Shop"));
        struct Cat
        {
            const char* name;
            bool in;
            qint64 id = 0;
        };
        Cat cats[] = {{"Bread sales", true},      {"Cakes and pastry", true},
                      {"Flour and grain", false}, {"Dairy and eggs", false},
                      {"Packaging", false},       {"Energy", false},
                      {"Transport", false},       {"Office", false}};
        for (Cat& c : cats) {
            c.id = raw.category(QString::fromLatin1(c.name), c.in);
            raw.allocate(c.id, bakery);
        }
        struct Row
        {
            const char* date;
            int cat;
            const char* description;
            const char* relation;
            double amount;
        };
        const Row rows[] = {
            {"2026-11-02", 2, "Flour 25 kg", "Abbey Milling Ltd", 42.50},
            {"2026-11-02", 0, "Bread sales market stall", "Market Leiden", 612.40},
            {"2026-11-04", 3, "Butter 10 kg", "De Vries Dairy", 68.90},
            {"2026-11-05", 1, "Wedding cake", "Hanna Kramer", 385.00},
            {"2026-11-07", 4, "Cake boxes", "Visser Packaging BV", 118.75},
            {"2026-11-09", 6, "Van fuel", "Shell Leiden", 71.32},
            {"2026-11-10", 0, "Bread sales shop", "Shop till", 1204.15},
            {"2026-11-12", 2, "Rye flour 10 kg", "Abbey Milling Ltd", 23.10},
            {"2026-11-14", 3, "Eggs 360", "Groot Farm", 54.00},
            {"2026-11-16", 1, "Birthday cake", "Daan Smit", 64.50},
            {"2026-11-18", 7, "Receipt rolls", "Office Centre", 19.95},
            {"2026-11-19", 5, "Gas for ovens", "Energy Direct", 212.60},
            {"2026-11-21", 0, "Bread sales weekend", "Market Leiden", 733.80},
            {"2026-11-23", 2, "Spelt grain", "Abbot Grain Co.", 88.40},
            {"2026-11-24", 4, "Paper bags", "Visser Packaging BV", 46.20},
            {"2026-11-26", 1, "Pastry tray", "Jansen Catering", 96.00},
            {"2026-11-28", 3, "Cream and milk", "De Vries Dairy", 37.85},
            {"2026-11-30", 6, "Parking fees", "City of Leiden", 12.00},
            {"2026-12-01", 0, "Bread sales shop", "Shop till", 1118.60},
            {"2026-12-02", 2, "Flour 25 kg", "Abbey Milling Ltd", 42.50},
            {"2026-12-03", 1, "Apple pie order", "Karin Willems", 27.50},
            {"2026-12-04", 7, "Stamps", "PostNL", 10.40},
            {"2026-12-05", 3, "Butter 10 kg", "De Vries Dairy", 68.90},
        };
        int receipt = 1201;
        int invoice = 100;
        for (const Row& r : rows) {
            const Cat& c = cats[r.cat];
            raw.transaction({.business = bakery,
                             .category = c.id,
                             .date = QString::fromLatin1(r.date),
                             .cash = true,
                             .moneyIn = c.in,
                             .amount = r.amount,
                             .description = QString::fromLatin1(r.description),
                             .relation = QString::fromLatin1(r.relation),
                             .receiptId = QStringLiteral("0/00%1/%2")
                                              .arg(receipt / 1000)
                                              .arg(receipt % 1000, 3, 10, QLatin1Char('0')),
                             .invoiceNr = c.in ? QStringLiteral("F-2026-%1").arg(++invoice)
                                               : QStringLiteral("n/a")});
            ++receipt;
        }
    }

    using namespace dbStuff;
    DB = Database::OpenDatabase(path);
    OpenTableRecordsets();
    SortSQL = QStringLiteral("ORDER BY Transactions.transactiondate;");
    DBPath = path;
    RegisterSheetWindow();
    frmMain& frame = frmMain::instance();
    frame.resize(frameSize);
    frame.show();
    ShowWindow(WindowId::Transactions);
    frmTransactions& sheet = *frmTransactions::loaded();
    frame.mdiArea()->subWindowList().first()->showMaximized();
    QApplication::setActiveWindow(&frame);
    if (!QTest::qWaitForWindowActive(&frame))
        qFatal("the frame never became active");

    for (int i = 0; i < sheet.cbobusiness->ListCount(); ++i)
        if (sheet.cbobusiness->ItemData(i) == bakery)
            sheet.cbobusiness->setListIndex(i, true);
    FlexGrid& grid = *sheet.FLX1;
    grid.setFocus();
    QCoreApplication::processEvents();
    // A new row typed up to its relation, the picker completing "va".
    const int row = grid.Rows() - 3;
    grid.moveTo(row, 1);
    QWindow* window = frame.windowHandle();
    auto type = [&](const QString& text) {
        for (QChar c : text) {
            QTest::keyClick(window, c.toLatin1());
            QCoreApplication::processEvents();
        }
    };
    type(QStringLiteral("Wholemeal flour"));
    QTest::keyClick(window, Qt::Key_Return);
    type(QStringLiteral("Fl"));
    QTest::keyClick(window, Qt::Key_Return);
    type(QStringLiteral("06/Dec/2026"));
    QTest::keyClick(window, Qt::Key_Return);
    // No invoice number for an expense: the first digit moves on to the
    // receipt id and starts it.
    type(QStringLiteral("1224"));
    QTest::keyClick(window, Qt::Key_Return);
    type(QStringLiteral("ab"));
    QTest::qWait(200);

    if (!frame.grab().save(output))
        qFatal("could not write %s", qPrintable(output));
    return 0;
}
