// The viewer: the report runs inside it when it becomes active, once per
// showing; a missing or broken report file, or a missing query, shows a
// message in the window; the pages can be saved as PDF and printed.

#include "platform/widgets/Dialogs.h"
#include "ReportFixture.h"
#include "reports/frmCrys.h"
#include "reports/frmPrint.h"
#include "reports/ReportWindow.h"
#include "support/DialogScript.h"

#include <QAction>
#include <QPrinter>
#include <QtTest>

using ReportFixture::OpenBooks;

namespace {

// crys_Default selecting one business, as a print writes it.
void selectBusiness(qint64 business)
{
    ReportFixture::writeQuery(
        *dbStuff::DB, QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(business));
}

// Shows the viewer on a report file and waits for the report to run.
void showOn(frmCrys& viewer, const QString& file)
{
    viewer.Report1.ReportFile = file;
    viewer.show();
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
    QTRY_VERIFY(viewer.Report1.window() != nullptr);
}

void activate(QWidget& window)
{
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activation);
}

} // namespace

class tst_Viewer : public QObject
{
    Q_OBJECT

private slots:
    void theReportRunsOncePerShowing()
    {
        OpenBooks books;
        selectBusiness(books.books.bakery);
        DialogScript script;
        frmCrys viewer;

        showOn(viewer, books.temp.filePath(ReportFixture::TransactionsReport));
        ReportWindow* first = viewer.Report1.window();
        QVERIFY(first->action(QStringLiteral("print"))->isEnabled());
        QCOMPARE(first->result()->rowCount, qint64(13));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Zantoro - Transactions by category"));

        // Back from a print or save dialog, say: the pages stay.
        activate(viewer);
        activate(viewer);
        QCOMPARE(viewer.reportRuns(), 1);
        QCOMPARE(viewer.Report1.window(), first);

        // Shown again later: the report runs again over the query as it is then.
        viewer.hide();
        QVERIFY(!viewer.Report1.window());
        selectBusiness(books.books.shop);
        showOn(viewer, books.temp.filePath(ReportFixture::TransactionsReport));
        QCOMPARE(viewer.reportRuns(), 2);
        QCOMPARE(viewer.Report1.window()->result()->rowCount, qint64(1));
    }

    void problemsShowAMessageInTheWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no report file")
            << "Gone.report" << QString() << true << QStringList{"was not found", "Gone.report"};
        QTest::newRow("a mistake in the file")
            << "Broken.report"
            << "title \"Broken\"\ncolum \"A\" Name text\n"
            << true << QStringList{"mistake", "Broken.report", "line 2", "colum"};
        QTest::newRow("a field the query lacks")
            << "Odd.report"
            << "title Odd\ncolumn \"Price\" UnitPrice money\n"
            << true << QStringList{"cannot be shown", "UnitPrice"};
        QTest::newRow("no stored query") << ReportFixture::TransactionsReport << QString() << false
                                         << QStringList{"could not be read", "Error 3078"};
    }

    void problemsShowAMessageInTheWindow()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(bool, query);
        QFETCH(QStringList, expected);
        OpenBooks books;
        if (query)
            ReportFixture::writeQuery(*dbStuff::DB, QStringLiteral(";"));
        if (!text.isEmpty())
            QVERIFY(writeBytes(books.temp.filePath(file), text.toUtf8()));
        DialogScript script;
        frmCrys viewer;

        showOn(viewer, books.temp.filePath(file));

        ReportWindow* report = viewer.Report1.window();
        const QString message = report->messageText();
        for (const QString& part : expected)
            QVERIFY2(message.contains(part), qPrintable(message));
        QVERIFY(!report->action(QStringLiteral("print"))->isEnabled());
    }

    // Both go through a file the user (or the printer dialog) chose; the
    // figures on paper are the report's. The PDF is proposed under the
    // business, the report and the period, in the folder of the last PDF
    // saved (the documents folder until one is).
    void saveAsPdfAndPrint()
    {
        OpenBooks books;
        selectBusiness(books.books.bakery);
        frmCrys viewer;
        viewer.Report1.BusinessId = books.books.bakery;
        viewer.Report1.Period = {QDate(2026, 3, 1), {}};
        showOn(viewer, books.temp.filePath(ReportFixture::VatReport));
        ReportWindow* report = viewer.Report1.window();
        const QString refused = books.temp.filePath(QStringLiteral("no such folder/report.pdf"));
        const QString chosen = books.temp.filePath(QStringLiteral("vat return"));
        const QString printed = books.temp.filePath(QStringLiteral("printed.pdf"));
        DialogScript script;
        const QString again = books.temp.filePath(QStringLiteral("again.pdf"));
        script.cancelFile().chooseFile(refused).answer(vbOK).chooseFile(chosen).chooseFile(again);
        bool accept = false;
        ReportWindow::setPrinterChooser([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            return accept;
        });

        report->action(QStringLiteral("pdf"))->trigger(); // cancelled: nothing happens
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        report->action(QStringLiteral("pdf"))->trigger();
        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages()[0].prompt.contains(refused));
        report->action(QStringLiteral("pdf"))->trigger();
        // The buttons' keys, as a user without a mouse saves and prints.
        QTest::keyClick(report, Qt::Key_S, Qt::ControlModifier);
        report->action(QStringLiteral("print"))->trigger(); // cancelled
        QVERIFY(!QFileInfo::exists(printed));
        accept = true;
        QTest::keyClick(report, Qt::Key_P, Qt::ControlModifier);
        ReportWindow::setPrinterChooser({});

        // The extension is added to a name typed without one.
        QCOMPARE(script.files().size(), 4);
        for (const FileRequest& request : script.files())
            QCOMPARE(request.fileName,
                     QStringLiteral("Bakery Janssen - VAT summary - from 01-Mar-2026.pdf"));
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        // A cancelled or failed save leaves the folder as it was.
        QCOMPARE((QStringList{script.files()[0].initDir, script.files()[1].initDir,
                              script.files()[2].initDir, script.files()[3].initDir}),
                 (QStringList{documents, documents, documents, QFileInfo(chosen).absolutePath()}));
        QVERIFY(QFileInfo::exists(again));
        QCOMPARE(script.messages().size(), 1);
        const QStringList figures = ReportFixture::amounts(report->result()->toPlainText());
        QCOMPARE(ReportFixture::amounts(ReportFixture::pdfText(chosen + ".pdf")), figures);
        QCOMPARE(ReportFixture::amounts(ReportFixture::pdfText(printed)), figures);
    }
};

QTEST_MAIN(tst_Viewer)
#include "tst_viewer.moc"
