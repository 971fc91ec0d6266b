#include "sheet/frmTransactions.h"

#include "platform/Settings.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "sheet/RelationPicker.h"
#include "sheet/SheetAccessible.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetPlace.h"
#include "sheet/SheetScopes.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSet>

#include <algorithm>

using namespace dbStuff;

namespace {

frmTransactions* s_loaded = nullptr;

const QString NoBusinessCaption = QStringLiteral("No business selected");
const QString DisabledCaption = QStringLiteral("Sheet is disabled");
const QString CashCaption = QStringLiteral("Cash transactions");
const QString BankCaption = QStringLiteral("Bank transactions");

// The order a column of the cash grid sorts by; none where the column does not
// sort.
std::optional<Ledger::SheetOrder> sortOrderFor(int col)
{
    switch (col) {
    case SheetCol::ColDescription:
        return Ledger::SheetOrder::Description;
    case SheetCol::ColCategory:
        return Ledger::SheetOrder::Category;
    case SheetCol::ColDate:
        return Ledger::SheetOrder::Date;
    case SheetCol::ColReceiptId:
        return Ledger::SheetOrder::ReceiptId;
    case SheetCol::ColRelation:
        return Ledger::SheetOrder::Relation;
    default:
        return std::nullopt;
    }
}

} // namespace

frmTransactions::frmTransactions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTransactions"));
    setWindowTitle(QStringLiteral("Transactions"));
    buildControls();
    connectEvents();
    s_loaded = this;
    RunHandler([this] { Form_Load(); });
}

frmTransactions::~frmTransactions()
{
    if (s_loaded == this)
        Form_Unload();
}

frmTransactions* frmTransactions::loaded()
{
    return s_loaded;
}

void frmTransactions::buildControls()
{
    Toolbar1 = new Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->addButton(QStringLiteral("print"), QStringLiteral("Print"),
                        QStyle::SP_FileDialogDetailedView);
    Toolbar1->addButton(QStringLiteral("sort"), QStringLiteral("Sort"),
                        QStyle::SP_TitleBarShadeButton);
    Toolbar1->addButton(QStringLiteral("history"), QStringLiteral("History"),
                        QStyle::SP_FileDialogInfoView);
    Toolbar1->addButton(QStringLiteral("export"), QStringLiteral("Export"),
                        QStyle::SP_DialogSaveButton);
    Toolbar1->addButton(QStringLiteral("close"), QStringLiteral("Close"),
                        QStyle::SP_DialogCloseButton);

    Picture1 = new QWidget;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* pictureLayout = new QHBoxLayout(Picture1);
    pictureLayout->setContentsMargins(Twips::toPixels(120), 0, 0, 0);
    Label2 = new QLabel(QStringLiteral("Business/account name"), Picture1);
    Label2->setObjectName(QStringLiteral("Label2"));
    cbobusiness = new ComboBox(ComboBox::DropDownList, Picture1);
    cbobusiness->setObjectName(QStringLiteral("cbobusiness"));
    cbobusiness->setMinimumWidth(Twips::toPixels(3600));
    pictureLayout->addWidget(Label2);
    pictureLayout->addWidget(cbobusiness);
    Toolbar1->addWidget(Picture1);

    TS1 = new TabStrip(this);
    TS1->setObjectName(QStringLiteral("TS1"));
    TS1->addTab(QStringLiteral("cash"), CashCaption);
    TS1->addTab(QStringLiteral("bank"), BankCaption);

    FLX1 = new FlexGrid(this);
    FLX1->setObjectName(QStringLiteral("FLX1"));
    FLX2 = new FlexGrid(this);
    FLX2->setObjectName(QStringLiteral("FLX2"));
    FLX1->raise();
    FLX2->hide();
    m_cashSheet = std::make_unique<SheetGrid>(*FLX1, true);
    m_bankSheet = std::make_unique<SheetGrid>(*FLX2, false);

    // The floating editors: hidden until an edit starts, then placed over the
    // cell and raised above the grid.
    m_editor = new CellEditor(this, *this);
    Txt = m_editor->Txt;
    Num = m_editor->Num;
    Cbo = m_editor->Cbo;
    cbo2 = m_editor->cbo2;
    DT = m_editor->DT;
    m_relationPicker = new RelationPicker(*cbo2, this);
    SheetAccessible::describeControls(*this);
    // The window opens on the business box, not on the toolbar's buttons.
    cbobusiness->setFocus();

    Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());
}

void frmTransactions::connectEvents()
{
    connect(cbobusiness, &ComboBox::Click, this, [this] {
        RunHandler([this] {
            // The rows on show are settled (an open edit stored, unstored
            // rows asked about) under the business they belong to.
            const int picked = cbobusiness->ListIndex();
            showBusinessOfGrids();
            if (!mayDropUnstoredRows(nullptr))
                return;
            cbobusiness->setListIndex(picked);
            cbobusiness_Click();
        });
    });
    connect(TS1, &TabStrip::Click, this, [this] { RunHandler([this] { TS1_Click(); }); });
    connect(Toolbar1, &Toolbar::ButtonClick, this,
            [this](const QString& key) { RunHandler([this, key] { Toolbar1_ButtonClick(key); }); });
    connectGrid(*FLX1);
    connectGrid(*FLX2);
    // Amounts and row numbers widen their columns; "Description" gives way.
    for (FlexGrid* grid : {FLX1, FLX2})
        connect(grid, &FlexGrid::NumberWidthsChanged, this, [this, grid] { SizeFLX(*grid); });
    connect(Cbo, &ComboBox::Click, this, [this] { RunHandler([this] { Cbo_Click(); }); });
    connect(cbo2, &ComboBox::Change, this, [this] { RunHandler([this] { cbo2_Change(); }); });
    connect(cbo2, &ComboBox::Click, this, [this] { RunHandler([this] { cbo2_Click(); }); });

    // Changes made in the lookup windows while the sheet is open.
    Notifier& notifier = Notifier::instance();
    connect(&notifier, &Notifier::businessesChanged, this,
            [this] { RunHandler([this] { followBusinessesChanged(); }); });
    connect(&notifier, &Notifier::categoriesChanged, this,
            [this] { RunHandler([this] { followCategoriesChanged(); }); });
    connect(&notifier, &Notifier::databaseReplaced, this,
            [this] { RunHandler([this] { followDatabaseReplaced(); }); });
    // Imported rows are read in with the rest; rows typed here and not
    // stored are asked about first, and kept rows keep the grids as they are.
    connect(&notifier, &Notifier::transactionsImported, this, [this] {
        RunHandler([this] {
            if (mayDropUnstoredRows(nullptr))
                followDatabaseReplaced();
        });
    });
    // Rows typed here belong to the file being replaced: asked about first,
    // as before any other action that drops them.
    connect(
        &notifier, &Notifier::databaseToBeReplaced, this,
        [this](bool& proceed) {
            if (!proceed)
                return;
            // A failure keeps the file too.
            bool drop = false;
            RunHandler([&] { drop = mayDropUnstoredRows(nullptr); });
            proceed = drop;
        },
        Qt::DirectConnection);
    connect(&notifier, &Notifier::rowsRewritten, this,
            [this] { RunHandler([this] { followRowsRewritten(); }); });
    // An undo from the menu drops an edit in progress, as Ctrl+Z in the
    // editor would, and asks before rows not stored are read over.
    AddUndoGuard(this, [this] {
        m_editor->close();
        return mayDropUnstoredRows(nullptr);
    });
    connect(&notifier, &Notifier::transactionsChanged, this,
            [this] { RunHandler([this] { followRowsRewritten(); }); });
}

void frmTransactions::Form_Load()
{
    CurrentTab = 1;
    SheetOpen = true;
    const GridBusyScope busy;
    FIllcboBusiness();
    FillcboRelations();
    TS1->setCaption(1, NoBusinessCaption);
    TS1->setCaption(2, DisabledCaption);
    // Nothing can be typed before a business is picked.
    TS1->setEnabled(false);
    FLX1->setEnabled(false);
    FLX2->setEnabled(false);
}

void frmTransactions::Form_Unload()
{
    // Nothing is stored here; an editor still open is dropped with the window.
    SheetOpen = false;
    if (s_loaded == this)
        s_loaded = nullptr;
}

void frmTransactions::closeEvent(QCloseEvent* event)
{
    bool drop = true;
    RunHandler([&] { drop = mayDropUnstoredRows(nullptr); });
    if (!drop) {
        event->ignore();
        return;
    }
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(parentWidget()))
        SheetPlace::remember(*sub);
    Form_Unload();
    event->accept();
}

void frmTransactions::unloadWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

std::optional<qint64> frmTransactions::selectedBusiness() const
{
    const int index = cbobusiness->ListIndex();
    if (index < 0)
        return std::nullopt;
    return cbobusiness->ItemData(index);
}

void frmTransactions::FIllcboBusiness()
{
    const QList<Ledger::Business> businesses = ledger().businesses();
    cbobusiness->Clear();
    for (const Ledger::Business& business : businesses) {
        cbobusiness->AddItem(business.name);
        cbobusiness->setItemData(cbobusiness->NewIndex(), business.id);
    }
}

void frmTransactions::cbobusiness_Click()
{
    m_editor->close();
    m_gridsBusiness = selectedBusiness();
    FormatFLX1();
    FormatFLX2();
    if (cbobusiness->ListIndex() == -1) {
        TS1->setCaption(1, NoBusinessCaption);
        TS1->setCaption(2, DisabledCaption);
        TS1->setEnabled(false);
        FLX1->setEnabled(false);
        FLX2->setEnabled(false);
        return;
    }
    TS1->setCaption(1, CashCaption);
    TS1->setCaption(2, BankCaption);
    TS1->setEnabled(true);
    FLX1->setEnabled(true);
    FLX2->setEnabled(true);
    FillBusinessCategories();
    FillFLX1();
    FillFLX2();
}

void frmTransactions::TS1_Click()
{
    // Rows typed on the sheet being left and not stored go only when the
    // user agrees; otherwise that sheet stays in front.
    FlexGrid* leaving = CurrentTab == 1 ? FLX1 : CurrentTab == 2 ? FLX2 : nullptr;
    if (leaving && TS1->SelectedItem() != CurrentTab) {
        if (!mayDropUnstoredRows(leaving)) {
            TS1->setSelectedItem(CurrentTab);
            return;
        }
        dropUnstoredRows(*leaving);
    }
    m_editor->close();
    CurrentTab = TS1->SelectedItem();
    // The grid behind is hidden as well as covered, so that keys typed on the
    // tab in front never reach it.
    FlexGrid* front = CurrentTab == 1 ? FLX1 : CurrentTab == 2 ? FLX2 : nullptr;
    if (front) {
        FlexGrid* back = front == FLX1 ? FLX2 : FLX1;
        const bool hadFocus = back->hasFocus();
        front->show();
        front->raise();
        back->hide();
        if (hadFocus)
            front->setFocus();
    }
    FillBusinessCategories();
}

void frmTransactions::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("print")) {
        ShowWindow(WindowId::Print, selectedBusiness().value_or(0));
    } else if (key == QLatin1String("history")) {
        // The versions of the row the cursor is on; a row not stored yet has
        // none, and the window opens empty.
        const FlexGrid* grid = CurrentTab == 2 ? FLX2 : FLX1;
        const qint64 id = grid->Row() > 0 ? grid->RowData(grid->Row()) : 0;
        ShowWindowForTransaction(WindowId::History, std::max<qint64>(id, 0));
    } else if (key == QLatin1String("close")) {
        unloadWindow();
    } else if (key == QLatin1String("export")) {
        exportCsv();
    } else if (key == QLatin1String("sort")) {
        if (TS1->SelectedItem() != 1)
            return;
        // Without a business there is no sheet to order.
        if (!selectedBusiness())
            return;
        if (!mayDropUnstoredRows(FLX1))
            return;
        m_editor->close();
        if (const std::optional<Ledger::SheetOrder> order = sortOrderFor(FLX1->Col())) {
            SortSQL = Ledger::sortClause(*order);
            SaveSetting(AppTitle, QStringLiteral("SETTINGS"), QStringLiteral("SORTSQL"), SortSQL);
        }
        FormatFLX1();
        FillFLX1();
    }
}

void frmTransactions::followBusinessesChanged()
{
    // A deleted business took its transactions, and maybe the last use of a
    // relation, along.
    m_relationPicker->markStale();
    const std::optional<qint64> before = selectedBusiness();
    FIllcboBusiness();
    if (!before)
        return;
    for (int i = 0; i < cbobusiness->ListCount(); ++i) {
        if (cbobusiness->ItemData(i) == *before) {
            cbobusiness->setListIndex(i);
            return;
        }
    }
    // The business is gone, and its transactions with it.
    cbobusiness->setListIndex(-1);
    cbobusiness_Click();
    FillBusinessCategories();
}

void frmTransactions::followDatabaseReplaced()
{
    // Nothing on show came from the file open now: the lists and both grids
    // are read again, for the same business when the new file has it. An
    // open edit and rows not stored belonged to the file that was replaced.
    m_editor->close();
    m_relationPicker->markStale();
    const std::optional<qint64> before = m_gridsBusiness;
    FIllcboBusiness();
    FillcboRelations();
    int index = -1;
    for (int i = 0; before && i < cbobusiness->ListCount(); ++i) {
        if (cbobusiness->ItemData(i) == *before)
            index = i;
    }
    cbobusiness->setListIndex(index);
    cbobusiness_Click();
}

void frmTransactions::followRowsRewritten()
{
    // Everything is read again; the cursor stays where it was when that cell
    // is still there.
    FlexGrid* front = CurrentTab == 2 ? FLX2 : FLX1;
    const int row = front->Row();
    const int col = front->Col();
    followDatabaseReplaced();
    if (front->isEnabled() && row > 0 && row < front->Rows() && col > 0 && col < front->Cols())
        front->moveTo(row, col);
}

void frmTransactions::showBusinessOfGrids()
{
    for (int i = 0; i < cbobusiness->ListCount(); ++i) {
        if (m_gridsBusiness && cbobusiness->ItemData(i) == *m_gridsBusiness) {
            cbobusiness->setListIndex(i);
            return;
        }
    }
    cbobusiness->setListIndex(-1);
}

void frmTransactions::followCategoriesChanged()
{
    m_relationPicker->markStale();
    FillBusinessCategories();
    if (!selectedBusiness())
        return;
    // A deleted category took its transactions along: a grid still showing
    // one of them is loaded again.
    QSet<QString> checked;
    for (FlexGrid* grid : {FLX1, FLX2}) {
        for (int row = 1; row <= grid->Rows() - 3; ++row) {
            if (grid->RowData(row) <= 0)
                continue;
            const QString id = grid->TextMatrix(row, SheetCol::ColCategoryId);
            if (checked.contains(id))
                continue;
            checked.insert(id);
            // No answer: the category is gone.
            if (!ledger().categoryReceivesMoney(id.toLongLong())) {
                cbobusiness_Click();
                return;
            }
        }
    }
}

void RegisterSheetWindow()
{
    RegisterWindow(WindowId::Transactions, [] {
        frmTransactions* sheet = frmTransactions::loaded();
        auto* sub = sheet ? qobject_cast<QMdiSubWindow*>(sheet->parentWidget()) : nullptr;
        // A new sheet opens where it was left in the last run; one that is
        // open is brought forward at the size the user left it.
        const bool isNew = !sheet;
        const bool maximise = sub && sub->isMaximized();
        if (isNew)
            sheet = new frmTransactions;
        sub = frmMain::instance().showChild(sheet);
        if (sub && isNew)
            SheetPlace::restore(*sub);
        else if (sub && maximise)
            sub->showMaximized();
    });
}
