#include "shell/frmImport.h"

#include "data/Ledger.h"
#include "platform/ProgramLocale.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/RowPicking.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"
#include "statements/StatementReaders.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString MappingSection = QStringLiteral("CSVMAPPINGS");
const QString NamesKey = QStringLiteral("NAMES");

QString stateText(ImportLine::State state)
{
    switch (state) {
    case ImportLine::State::New:
        return QStringLiteral("new");
    case ImportLine::State::AlreadyImported:
        return QStringLiteral("already imported");
    case ImportLine::State::NeedsCategory:
        break;
    }
    return QStringLiteral("needs a category");
}

} // namespace

QStringList frmImport::mappingNames()
{
    return GetSetting(AppTitle, MappingSection, NamesKey)
        .split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

CsvMapping frmImport::savedMapping(const QString& name)
{
    return CsvMapping::fromText(name, GetSetting(AppTitle, MappingSection, name));
}

void frmImport::saveMapping(const CsvMapping& mapping)
{
    QString name = mapping.name;
    name.remove(QLatin1Char('|'));
    QStringList names = mappingNames();
    if (!names.contains(name))
        names << name;
    SaveSetting(AppTitle, MappingSection, NamesKey, names.join(QLatin1Char('|')));
    SaveSetting(AppTitle, MappingSection, name, mapping.toText());
}

frmImport::frmImport(const QString& path, QWidget* parent) : QDialog(parent), m_path(path)
{
    setWindowTitle(QStringLiteral("Import bank statement - ") + QFileInfo(path).fileName());
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    cboBusiness = new QComboBox(this);
    cboBusiness->setObjectName(QStringLiteral("cboBusiness"));
    for (const Ledger::Business& b : dbStuff::ledger().businesses())
        cboBusiness->addItem(b.name, b.id);
    cboSheet = new QComboBox(this);
    cboSheet->setObjectName(QStringLiteral("cboSheet"));
    cboSheet->addItem(QStringLiteral("Bank"), false);
    cboSheet->addItem(QStringLiteral("Cash"), true);
    auto* businessLabel = new QLabel(QStringLiteral("Business"), this);
    businessLabel->setBuddy(cboBusiness);
    auto* sheetLabel = new QLabel(QStringLiteral("Sheet"), this);
    sheetLabel->setBuddy(cboSheet);
    top->addWidget(businessLabel);
    top->addWidget(cboBusiness, 1);
    top->addWidget(sheetLabel);
    top->addWidget(cboSheet);
    layout->addLayout(top);

    auto* mapping = new QHBoxLayout;
    cboMapping = new QComboBox(this);
    cboMapping->setObjectName(QStringLiteral("cboMapping"));
    cboMapping->setEditable(true);
    cboMapping->addItems(mappingNames());
    txtMapping = new QLineEdit(this);
    txtMapping->setObjectName(QStringLiteral("txtMapping"));
    txtMapping->setToolTip(QStringLiteral(
        "sep, enc, head, datefmt, dec (character codes for sep and dec); columns from 0, -1 for "
        "none: date, amount or debit and credit, party, text, ref"));
    cmdReadAgain = new QPushButton(QStringLiteral("&Read with this mapping"), this);
    cmdReadAgain->setObjectName(QStringLiteral("cmdReadAgain"));
    auto* mappingLabel = new QLabel(QStringLiteral("CSV mapping"), this);
    mappingLabel->setBuddy(cboMapping);
    mapping->addWidget(mappingLabel);
    mapping->addWidget(cboMapping);
    mapping->addWidget(txtMapping, 1);
    mapping->addWidget(cmdReadAgain);
    layout->addLayout(mapping);

    grdLines = new QTableWidget(0, ColumnCount, this);
    grdLines->setObjectName(QStringLiteral("grdLines"));
    grdLines->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Amount"),
                                         QStringLiteral("Counterparty"), QStringLiteral("Text"),
                                         QStringLiteral("Category"), QStringLiteral("State")});
    grdLines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLines->setSelectionMode(QAbstractItemView::SingleSelection);
    // Lines are picked with the arrow keys; Tab goes on to the next control
    // rather than through every cell.
    grdLines->setTabKeyNavigation(false);
    PickCurrentRowOnTabIn(*grdLines);
    grdLines->horizontalHeader()->setSectionResizeMode(ColText, QHeaderView::Stretch);
    layout->addWidget(grdLines, 1);

    auto* bottom = new QHBoxLayout;
    cboCategory = new QComboBox(this);
    cboCategory->setObjectName(QStringLiteral("cboCategory"));
    cmdPick = new QPushButton(QStringLiteral("&Use for this counterparty"), this);
    cmdPick->setObjectName(QStringLiteral("cmdPick"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    cmdImport = new QPushButton(QStringLiteral("&Import"), this);
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    auto* cancel = new QPushButton(QStringLiteral("Close"), this);
    cancel->setObjectName(QStringLiteral("cmdClose"));
    auto* categoryLabel = new QLabel(QStringLiteral("Category"), this);
    categoryLabel->setBuddy(cboCategory);
    bottom->addWidget(categoryLabel);
    bottom->addWidget(cboCategory, 1);
    bottom->addWidget(cmdPick);
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(cmdImport);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    resize(900, 500);

    Accessible::describe(businessLabel, QStringLiteral("The business whose sheet takes the "
                                                       "statement's lines."));
    Accessible::describe(sheetLabel, QStringLiteral("The sheet the lines go on: bank or cash."));
    Accessible::describe(mappingLabel,
                         QStringLiteral("The name of a saved CSV mapping: pick one, or type a "
                                        "name to save the mapping below under it."));
    Accessible::describe(txtMapping, QStringLiteral("Mapping"), txtMapping->toolTip());
    Accessible::describe(cmdReadAgain, QStringLiteral("Read with this mapping"),
                         QStringLiteral("Reads the file again with the mapping typed."));
    Accessible::describe(grdLines, QStringLiteral("Statement lines"),
                         QStringLiteral("Each line of the statement with its category and "
                                        "whether it is new or already imported."));
    Accessible::describe(categoryLabel,
                         QStringLiteral("The category for the line picked in the list."));
    Accessible::describe(cmdPick, QStringLiteral("Use for this counterparty"),
                         QStringLiteral("Gives the category to the line picked and to the other "
                                        "lines of its counterparty that still need one."));
    Accessible::describe(cmdImport, QStringLiteral("Import"),
                         QStringLiteral("Stores the new lines that have a category on the sheet."));
    Accessible::describe(cancel, QStringLiteral("Close"),
                         QStringLiteral("Closes the window; lines not imported stay out."));

    QFile probe(path);
    m_csv = probe.open(QIODevice::ReadOnly) &&
            StatementReaders::detect(probe.read(4096)) == StatementReaders::Format::Csv;
    for (QWidget* w : {static_cast<QWidget*>(mappingLabel), static_cast<QWidget*>(cboMapping),
                       static_cast<QWidget*>(txtMapping), static_cast<QWidget*>(cmdReadAgain)})
        w->setVisible(m_csv);
    if (m_csv) {
        const CsvMapping first =
            cboMapping->count() ? savedMapping(cboMapping->itemText(0)) : CsvMapping();
        txtMapping->setText(first.toText());
    }

    connect(cboBusiness, &QComboBox::currentIndexChanged, this, [this] { plan(); });
    connect(cboSheet, &QComboBox::currentIndexChanged, this, [this] { plan(); });
    connect(cboMapping, &QComboBox::activated, this, [this] {
        txtMapping->setText(savedMapping(cboMapping->currentText()).toText());
        readFile();
    });
    connect(cmdReadAgain, &QPushButton::clicked, this, [this] { readFile(); });
    connect(cmdPick, &QPushButton::clicked, this, [this] { pickForCurrentLine(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { importLines(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    readFile();
}

std::optional<qint64> frmImport::business() const
{
    if (cboBusiness->currentIndex() < 0)
        return std::nullopt;
    return cboBusiness->currentData().toLongLong();
}

bool frmImport::cash() const
{
    return cboSheet->currentData().toBool();
}

void frmImport::readFile()
{
    m_statement = Statement();
    m_message.clear();
    try {
        const CsvMapping mapping =
            CsvMapping::fromText(cboMapping->currentText(), txtMapping->text());
        m_statement = StatementReaders::readFile(m_path, mapping);
        if (m_csv && !cboMapping->currentText().trimmed().isEmpty())
            saveMapping(mapping);
    } catch (const StatementError& e) {
        m_message = e.message();
        MsgBox(QStringLiteral("The statement cannot be imported:") + u'\r' + m_path +
                   QStringLiteral("\r\r") + m_message,
               vbExclamation + vbOKOnly, QStringLiteral("Import bank statement"));
    }
    plan();
}

void frmImport::plan()
{
    fillCategories();
    const std::optional<qint64> b = business();
    m_lines = b ? PlanImport(*dbStuff::DB, *b, cash(), m_statement) : QList<ImportLine>();
    showLines();
}

void frmImport::fillCategories()
{
    cboCategory->clear();
    if (const std::optional<qint64> b = business()) {
        for (const Ledger::Category& c : dbStuff::ledger().sheetCategories(*b, cash() ? 1 : 2))
            cboCategory->addItem(c.name, c.id);
    }
}

void frmImport::showLines()
{
    QHash<qint64, QString> names;
    for (int i = 0; i < cboCategory->count(); ++i)
        names.insert(cboCategory->itemData(i).toLongLong(), cboCategory->itemText(i));
    const int current = grdLines->currentRow();
    grdLines->setRowCount(int(m_lines.size()));
    int fresh = 0, known = 0, open = 0;
    for (int r = 0; r < m_lines.size(); ++r) {
        const ImportLine& l = m_lines[r];
        const QStringList cells{ProgramLocale::formatDate(l.line.date),
                                ProgramLocale::formatAmount(l.line.amount),
                                l.line.counterparty,
                                l.line.text,
                                names.value(l.categoryId),
                                stateText(l.state)};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == ColAmount)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdLines->setItem(r, c, item);
        }
        (l.state == ImportLine::State::New               ? fresh
         : l.state == ImportLine::State::AlreadyImported ? known
                                                         : open)++;
    }
    if (current >= 0 && current < grdLines->rowCount())
        grdLines->setCurrentCell(current, 0);
    lblStatus->setText(QStringLiteral("%1 new, %2 already imported, %3 need a category")
                           .arg(fresh)
                           .arg(known)
                           .arg(open));
    cmdImport->setEnabled(fresh > 0);
}

void frmImport::pickForCurrentLine()
{
    const int row = grdLines->currentRow();
    if (row < 0 || row >= m_lines.size() || cboCategory->currentIndex() < 0)
        return;
    PickCategory(m_lines, row, cboCategory->currentData().toLongLong());
    showLines();
}

void frmImport::importLines()
{
    const std::optional<qint64> b = business();
    if (!b)
        return;
    try {
        m_outcome = ApplyImport(*dbStuff::DB, *b, cash(), m_lines);
    } catch (const VbError& e) {
        dbStuff::ReportError(e);
        return;
    }
    QString text = QStringLiteral("%1 lines imported, %2 left out.")
                       .arg(m_outcome.imported)
                       .arg(m_outcome.skipped);
    if (!m_outcome.notes.isEmpty())
        text += QStringLiteral("\r\r") + m_outcome.notes.join(u'\r');
    emit dbStuff::Notifier::instance().transactionsImported();
    MsgBox(text, vbInformation + vbOKOnly, QStringLiteral("Import bank statement"));
    plan();
}

void ShowImportWindow()
{
    CommonDialog dialog;
    dialog.DialogTitle = QStringLiteral("Import bank statement");
    dialog.Filter = QStringLiteral("Bank statements (*.xml;*.sta;*.mt940;*.940;*.txt;*.ofx;*.qfx;"
                                   "*.csv)|*.xml;*.sta;*.mt940;*.940;*.txt;*.ofx;*.qfx;*.csv|"
                                   "All files (*.*)|*.*");
    dialog.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
    dialog.CancelError = true;
    try {
        dialog.ShowOpen();
    } catch (const VbError& e) {
        if (e.number() == VbErr::CancelSelected)
            return;
        throw;
    }
    frmImport window(dialog.FileName);
    window.exec();
}
