#include "history/frmHistory.h"

#include "history/HistoryModels.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PeriodPickers.h"
#include "platform/widgets/RowPicking.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace dbStuff;

namespace {

QPointer<frmHistory>& current()
{
    static QPointer<frmHistory> window;
    return window;
}

HistoryLog historyLog()
{
    if (!DB || !DB->isOpen())
        throw VbError(VbErr::ObjectNotSet);
    return HistoryLog(*DB);
}

// samples: a text as wide as each column's widest usual value.
QTableView* makeList(QAbstractItemModel* model, const QString& name, const QStringList& samples)
{
    auto* list = new QTableView;
    PickCurrentRowOnTabIn(*list);
    list->setObjectName(name);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are picked with the arrow keys; Tab goes on to the next control
    // rather than through every cell.
    list->setTabKeyNavigation(false);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    // Fixed line heights and column widths: nothing is measured over the
    // rows, so a list of 100,000 lines shows at once.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    const QFontMetrics metrics = list->fontMetrics();
    QFont bold = list->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    for (int i = 0; i < samples.size(); ++i) {
        const QString caption = model->headerData(i, Qt::Horizontal).toString();
        list->setColumnWidth(i, std::max(boldMetrics.horizontalAdvance(samples[i]),
                                         metrics.horizontalAdvance(caption)) +
                                    16);
    }
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

} // namespace

frmHistory::frmHistory(QWidget* parent) : QWidget(parent)
{
    current() = this;
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_versions = new VersionsModel(this);
    m_deleted = new DeletedModel(this);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));

    auto* versionsPage = new QWidget;
    txtFirst = new QLineEdit;
    txtFirst->setObjectName(QStringLiteral("txtFirst"));
    txtLast = new QLineEdit;
    txtLast->setObjectName(QStringLiteral("txtLast"));
    cmdVersions = new QPushButton(QStringLiteral("&Show"));
    cmdVersions->setObjectName(QStringLiteral("cmdVersions"));
    lstVersions =
        makeList(m_versions, QStringLiteral("lstVersions"),
                 {"06/Dec/2026 16:13:59", "000000", "changed", "change of amount in row 12",
                  "06/Dec/2026", "Cash", "Office supplies", "Flour, 25 sacks of 50 kg",
                  "Kitchen Co", "0/000/000", "INV-2026-001", "10,000.00", "10,000.00"});
    auto* range = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Transactions from id"));
    label->setBuddy(txtFirst);
    range->addWidget(label);
    range->addWidget(txtFirst);
    range->addWidget(new QLabel(QStringLiteral("to")));
    range->addWidget(txtLast);
    range->addWidget(cmdVersions);
    range->addStretch();
    auto* versionsLayout = new QVBoxLayout(versionsPage);
    versionsLayout->addLayout(range);
    versionsLayout->addWidget(lstVersions);
    tabs->addTab(versionsPage, QStringLiteral("&Versions"));

    auto* deletedPage = new QWidget;
    cmdDeleted = new QPushButton(QStringLiteral("Sh&ow"));
    cmdDeleted->setObjectName(QStringLiteral("cmdDeleted"));
    lstDeleted = makeList(m_deleted, QStringLiteral("lstDeleted"),
                          {"06/Dec/2026 16:13:59", "transaction", "000000",
                           "06/Dec/2026, 1,234.50, Flour, 25 sacks of 50 kg",
                           "delete of category Fuel and 37 transactions", "back"});
    cmdRestore = new QPushButton(QStringLiteral("&Restore"));
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setEnabled(false);
    auto* period = new QHBoxLayout;
    const PeriodPickers pickers(*period, QStringLiteral("Deleted from"), QStringLiteral("Deleted"),
                                QStringLiteral("deletions"));
    dtpFrom = pickers.from;
    dtpTo = pickers.to;
    period->addWidget(cmdDeleted);
    period->addStretch();
    period->addWidget(cmdRestore);
    auto* deletedLayout = new QVBoxLayout(deletedPage);
    deletedLayout->addLayout(period);
    deletedLayout->addWidget(lstDeleted);
    tabs->addTab(deletedPage, QStringLiteral("&Deleted"));

    cmdChanges = new QPushButton(QStringLiteral("&Changes report..."));
    cmdChanges->setObjectName(QStringLiteral("cmdChanges"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdChanges);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(bottom);
    describeControls(label);

    connect(cmdVersions, &QPushButton::clicked, this,
            [this] { RunHandler([this] { cmdVersions_Click(); }); });
    connect(txtLast, &QLineEdit::returnPressed, cmdVersions, &QPushButton::click);
    connect(txtFirst, &QLineEdit::returnPressed, cmdVersions, &QPushButton::click);
    connect(cmdDeleted, &QPushButton::clicked, this,
            [this] { RunHandler([this] { showDeleted(); }); });
    connect(cmdRestore, &QPushButton::clicked, this,
            [this] { RunHandler([this] { restoreSelected(); }); });
    connect(cmdChanges, &QPushButton::clicked, this, [] { ShowWindow(WindowId::Changes); });
    connect(lstDeleted->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateRestore(); });
    connect(m_deleted, &QAbstractItemModel::modelReset, this, [this] { updateRestore(); });
    // Another file, or the same one reopened: what is on show is read again.
    auto reread = [this] {
        RunHandler([this] {
            if (const auto first = typedId(txtFirst))
                showVersions(*first, typedId(txtLast).value_or(*first));
            showDeleted();
        });
    };
    // The deletions of every date are on show from the start.
    RunHandler([this] { showDeleted(); });
    connect(&Notifier::instance(), &Notifier::databaseReplaced, this, reread);
    connect(&Notifier::instance(), &Notifier::databaseReopened, this, reread);
}

frmHistory::~frmHistory() = default;

void frmHistory::describeControls(const QLabel* firstCaption)
{
    tabs->setTabToolTip(0, QStringLiteral("Every stored version of the transactions whose ids "
                                          "are typed"));
    tabs->setTabToolTip(1, QStringLiteral("What was deleted in a period, to bring back"));
    Accessible::describe(firstCaption,
                         QStringLiteral("The id of the first transaction whose versions to show."));
    Accessible::describe(txtLast, QStringLiteral("Transactions to id"),
                         QStringLiteral("The id of the last one; empty for the first alone."));
    Accessible::describe(cmdVersions, QStringLiteral("Show"),
                         QStringLiteral("Lists the versions of those transactions below."));
    Accessible::describe(lstVersions, QStringLiteral("Versions"),
                         QStringLiteral("The stored versions: when, what was done, and the "
                                        "row's values then."));
    Accessible::describe(cmdDeleted, QStringLiteral("Show"),
                         QStringLiteral("Lists what was deleted in the period below."));
    Accessible::describe(lstDeleted, QStringLiteral("Deleted"),
                         QStringLiteral("What was deleted; pick one, and Restore brings it back."));
    Accessible::describe(cmdRestore, QStringLiteral("Restore"),
                         QStringLiteral("Brings the deletion picked in the list back."));
    Accessible::describe(cmdChanges, QStringLiteral("Changes report"),
                         QStringLiteral("Opens the report of a business's changes over a period."));
}

frmHistory* frmHistory::loaded()
{
    return current();
}

std::optional<qint64> frmHistory::typedId(QLineEdit* box) const
{
    bool ok = false;
    const qint64 id = box->text().trimmed().toLongLong(&ok);
    return ok && id > 0 ? std::optional<qint64>(id) : std::nullopt;
}

void frmHistory::cmdVersions_Click()
{
    const std::optional<qint64> first = typedId(txtFirst);
    if (!first) {
        MsgBox(QStringLiteral("Type the id of a transaction."), vbExclamation);
        txtFirst->setFocus();
        return;
    }
    // An empty second box: the one transaction.
    const qint64 last = txtLast->text().trimmed().isEmpty() ? *first : typedId(txtLast).value_or(0);
    if (last < *first) {
        MsgBox(QStringLiteral("The second id must be a number not below the first."),
               vbExclamation);
        txtLast->setFocus();
        return;
    }
    showVersions(*first, last);
}

void frmHistory::showVersions(qint64 first, qint64 last)
{
    tabs->setCurrentIndex(PageVersions);
    txtFirst->setText(QString::number(first));
    txtLast->setText(QString::number(last));
    QHash<qint64, QString> names;
    for (const Ledger::Category& c : ledger().categories())
        names.insert(c.id, c.name);
    m_versions->setChanges(historyLog().transactionVersions(first, last), std::move(names));
    if (m_versions->rowCount() > 0)
        lstVersions->scrollToBottom();
}

void frmHistory::showDeleted()
{
    const Variant from = dtpFrom->Value();
    const Variant to = dtpTo->Value();
    m_deleted->setChanges(historyLog().deletions(
        from.isNull() ? std::nullopt : std::optional<QDate>(from.toDate().date()),
        to.isNull() ? std::nullopt : std::optional<QDate>(to.toDate().date())));
}

void frmHistory::updateRestore()
{
    const QModelIndexList rows = lstDeleted->selectionModel()->selectedRows();
    cmdRestore->setEnabled(rows.size() == 1 && !m_deleted->change(rows.first().row()).present);
}

void frmHistory::restoreSelected()
{
    const QModelIndexList rows = lstDeleted->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return;
    const HistoryLog::Change chosen = m_deleted->change(rows.first().row());
    if (chosen.present)
        return;
    const QString kind = DeletedModel::kindText(chosen.table);
    const QString name = chosen.table == HistoryLog::Table::Transactions
                             ? QString::number(chosen.rowKey)
                             : DeletedModel::recordText(chosen);
    // The restored rows are read into the open windows; rows typed on the
    // sheet and not stored are asked about first, as before an undo.
    if (!WindowsAllowRewrite())
        return;
    HistoryLog::Restored restored;
    try {
        restored = historyLog().restore(chosen.historyId,
                                        QStringLiteral("restore of %1 %2").arg(kind, name));
    } catch (const VbError& error) {
        if (error.number() != VbErr::RelatedRecordRequired)
            throw;
        MsgBox(QStringLiteral("This transaction cannot come back: its business or category "
                              "is gone. Restore that first."),
               vbExclamation);
        return;
    }
    // The windows that show the records follow.
    Notifier& notifier = Notifier::instance();
    if (chosen.table == HistoryLog::Table::Businesses)
        emit notifier.businessesChanged();
    else if (chosen.table == HistoryLog::Table::Categories)
        emit notifier.categoriesChanged();
    if (chosen.table == HistoryLog::Table::Transactions || restored.transactions > 0)
        emit notifier.transactionsChanged();
    QStringList notes;
    if (restored.id != chosen.rowKey)
        notes << QStringLiteral("The %1 came back as number %2: number %3 is taken.")
                     .arg(kind)
                     .arg(restored.id)
                     .arg(chosen.rowKey);
    if (restored.transactionsLeft > 0)
        notes << QStringLiteral("%1 of its transactions stay deleted: their %2 is gone.")
                     .arg(restored.transactionsLeft)
                     .arg(chosen.table == HistoryLog::Table::Businesses
                              ? QStringLiteral("category")
                              : QStringLiteral("business"));
    if (!notes.isEmpty())
        MsgBox(notes.join(u'\r'), vbInformation);
    showDeleted();
}

void RegisterHistoryWindow()
{
    RegisterWindow(WindowId::History, [] {
        frmHistory* window = frmHistory::loaded();
        const bool opening = !window;
        if (opening)
            window = new frmHistory;
        QMdiSubWindow* sub = frmMain::instance().showChild(window);
        // A new window takes most of the frame (its lists are wide), unless
        // the frame shows its windows maximised, as it does after the sheet.
        if (opening && sub && !sub->isMaximized())
            sub->resize(sub->mdiArea()->size() * 9 / 10);
        if (const qint64 transaction = WindowTransaction())
            window->showVersions(transaction, transaction);
    });
}
