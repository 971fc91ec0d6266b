// Times importing a statement of 1,000 lines into a fresh business: the file
// read, the preview's plan (proposals and the check against lines imported
// before) and the import itself, for camt.053 and MT940. Twenty counterparties,
// each with a category picked once; median of 5 runs, each into a new file.
//
//   bench_statement_import [lines, 1000 unless given]

#include "data/Database.h"
#include "shell/StatementImport.h"
#include "statements/StatementReaders.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

QTextStream out(stdout);

QString party(int i)
{
    return QStringLiteral("Supplier %1").arg(i % 20);
}

QByteArray camt(int lines)
{
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document "
                   "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt>"
                   "<Stmt><Acct><Id><IBAN>NL91ABNA0417164300</IBAN></Id></Acct>\n";
    for (int i = 0; i < lines; ++i) {
        const bool in = i % 3 == 0;
        x += QStringLiteral("<Ntry><Amt Ccy=\"EUR\">%1.%2</Amt><CdtDbtInd>%3</CdtDbtInd>"
                            "<Sts>BOOK</Sts><BookgDt><Dt>2026-%4-%5</Dt></BookgDt>"
                            "<AcctSvcrRef>REF%6</AcctSvcrRef><NtryDtls><TxDtls><RltdPties>"
                            "<%7><Nm>%8</Nm></%7></RltdPties><RmtInf><Ustrd>Invoice %6 of "
                            "the month</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n")
                 .arg(10 + i)
                 .arg(i % 100, 2, 10, QLatin1Char('0'))
                 .arg(in ? "CRDT" : "DBIT")
                 .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                 .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                 .arg(i)
                 .arg(in ? "Dbtr" : "Cdtr")
                 .arg(party(i))
                 .toUtf8();
    }
    return x + "</Stmt></BkToCstmrStmt></Document>\n";
}

QByteArray mt940(int lines)
{
    QByteArray x = ":20:STMT\n:25:10020030/1234567890\n:28C:1/1\n:60F:C260101EUR0,00\n";
    for (int i = 0; i < lines; ++i) {
        const int month = 1 + i % 12, day = 1 + i % 28;
        x += QString::asprintf(":61:26%02d%02d%02d%02d%s%d,%02dNTRFNONREF//B%d\n"
                               ":86:166?00GUTSCHRIFT?20Invoice %d of the?21 month?32%s\n",
                               month, day, month, day, i % 3 == 0 ? "C" : "D", 10 + i, i % 100, i,
                               i, qPrintable(party(i)))
                 .toUtf8();
    }
    return x + ":62F:C261231EUR0,00\n-\n";
}

double importOnce(const QByteArray& content, bool xml, int lines)
{
    TempDatabase file;
    RawDb raw(file.path());
    const qint64 business = raw.business(QStringLiteral("Fresh"));
    const qint64 in = raw.category(QStringLiteral("Sales"), true);
    const qint64 out = raw.category(QStringLiteral("Purchases"), false);
    raw.allocate(in, business);
    raw.allocate(out, business);
    auto db = Database::OpenDatabase(file.path());
    QElapsedTimer timer;
    timer.start();
    const Statement s =
        xml ? StatementReaders::readCamt053(content) : StatementReaders::readMt940(content);
    QList<ImportLine> planned = PlanImport(*db, business, false, s);
    for (int i = 0; i < 20; ++i)
        PickCategory(planned, i, i % 3 == 0 ? in : out); // line i is party(i)
    const ImportOutcome outcome = ApplyImport(*db, business, false, planned);
    const double elapsed = double(timer.nsecsElapsed()) / 1e9;
    if (outcome.imported != lines)
        qFatal("imported %d of %d lines", outcome.imported, lines);
    return elapsed;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
        for (const bool xml : {true, false}) {
            const QByteArray content = xml ? camt(lines) : mt940(lines);
            std::vector<double> times;
            for (int run = 0; run < 5; ++run)
                times.push_back(importOnce(content, xml, lines));
            std::sort(times.begin(), times.end());
            out << (xml ? "camt.053" : "MT940   ") << " " << lines << " lines ("
                << content.size() / 1024 << " KB): " << QString::number(times[2], 'f', 3)
                << " s median, " << QString::number(times.back(), 'f', 3) << " s at worst\n";
            out.flush();
        }
    } catch (const StatementError& e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
