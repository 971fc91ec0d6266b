#include "reports/frmPrint.h"

#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "reports/frmCrys.h"
#include "shell/dbStuff.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace {

// The designed client area, the business row (caption left at 120, box top at
// 660, box right edge at 6795) and the criteria frame's height, in twips.
constexpr int DesignWidth = 6900;
constexpr int DesignHeight = 4020;
constexpr int RowLeft = 120;
constexpr int RowTop = 660;
constexpr int RowWidth = 6795 - RowLeft;
constexpr int RowRightMargin = DesignWidth - RowLeft - RowWidth;
constexpr int CriteriaHeight = 1275;
// Captions end at least this far left of their boxes, in twips.
constexpr int CaptionGap = 90;

} // namespace

frmPrint::frmPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Report selection"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();
    resize(Twips::toPixels(QSize(DesignWidth, DesignHeight)));
    dbStuff::RunHandler([this] { Form_Load(); });
    fitToFont();
    placeHeader();
    Form_Resize();
    // The window opens on its first box, not on the toolbar above it.
    cbobusiness->setFocus();
}

frmPrint::~frmPrint()
{
    // The list's items go with the window; the shared pointer must not outlive them.
    if (dbStuff::NewItem && dbStuff::NewItem->treeWidget() == LV1)
        dbStuff::NewItem = nullptr;
}

void frmPrint::buildControls()
{
    Toolbar1 = new Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->addButton(QStringLiteral("print"), QStringLiteral("Print"))
        ->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                   style()->standardIcon(QStyle::SP_FileIcon)));
    Toolbar1->addButton(QStringLiteral("close"), QStringLiteral("Close"),
                        QStyle::SP_DialogCloseButton);
    Toolbar1->setButtonEnabled(QStringLiteral("print"), false);
    // Keys for the toolbar, named in the tooltips; Escape closes the window
    // as any dialog's does.
    QAction* print = Toolbar1->Button(QStringLiteral("print"));
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(QStringLiteral("Show the report chosen in the viewer, to print or save (%1)")
                          .arg(print->shortcut().toString(QKeySequence::NativeText)));
    Toolbar1->Button(QStringLiteral("close"))->setToolTip(QStringLiteral("Close the window (Esc)"));

    // The business caption and its box share a row; the box starts at 1980
    // twips as designed, or further right when the caption needs the room, and
    // takes the rest of the row, no less than 2000 twips.
    businessRow = new QWidget(this);
    businessRow->setObjectName(QStringLiteral("businessRow"));
    auto* row = new QGridLayout(businessRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setHorizontalSpacing(Twips::toPixels(CaptionGap));
    row->setColumnMinimumWidth(0, Twips::toPixels(1980 - RowLeft - CaptionGap));
    row->setColumnStretch(1, 1);
    Label2 = new QLabel(QStringLiteral("Business/account name"), businessRow);
    Label2->setObjectName(QStringLiteral("Label2"));
    cbobusiness = new ComboBox(ComboBox::DropDownList, businessRow);
    cbobusiness->setObjectName(QStringLiteral("cbobusiness"));
    cbobusiness->setMinimumWidth(Twips::toPixels(2000));
    Label2->setBuddy(cbobusiness);
    row->addWidget(Label2, 0, 0);
    row->addWidget(cbobusiness, 0, 1);

    LV1 = new ListView(this);
    LV1->setObjectName(QStringLiteral("LV1"));
    LV1->addColumnHeader(QStringLiteral("Reports"), 3600);
    LV1->addColumnHeader(QStringLiteral("Criteria"), 1300, ListView::AlignCenter);
    LV1->addColumnHeader(QStringLiteral("RepId."), 900, ListView::AlignRight);
    LV1->setHideSelection(false);

    frCriteria = new QGroupBox(QStringLiteral("Criteria"), this);
    frCriteria->setObjectName(QStringLiteral("frCriteria"));
    // Captions in column 0, pickers in column 1 at 1020 twips as designed (or
    // further right when a caption needs the room) and at least 2175 wide, the
    // width to spare in column 2.
    auto* criteria = new QGridLayout(frCriteria);
    criteria->setContentsMargins(Twips::toPixels(120), Twips::toPixels(60), Twips::toPixels(120),
                                 Twips::toPixels(60));
    criteria->setHorizontalSpacing(Twips::toPixels(CaptionGap));
    criteria->setVerticalSpacing(Twips::toPixels(105));
    criteria->setColumnMinimumWidth(0, Twips::toPixels(1020 - 120 - CaptionGap));
    criteria->setColumnMinimumWidth(1, Twips::toPixels(2175));
    criteria->setColumnStretch(2, 1);
    criteria->setRowStretch(2, 1);
    const std::array<QString, 2> captions{QStringLiteral("Start date"), QStringLiteral("End date")};
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(captions[i], frCriteria);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        dt1[i] = new DatePicker(frCriteria);
        dt1[i]->setObjectName(QStringLiteral("dt1_%1").arg(i));
        Label1[i]->setBuddy(dt1[i]);
        criteria->addWidget(Label1[i], i, 0);
        criteria->addWidget(dt1[i], i, 1);
        connect(dt1[i], &DatePicker::Change, this,
                [this, i] { dbStuff::RunHandler([this, i] { dt1_Change(i); }); });
    }

    Accessible::describe(Label2, QStringLiteral("The business whose transactions the report "
                                                "shows; the arrow keys choose."));
    Accessible::describe(LV1, QStringLiteral("Reports"),
                         QStringLiteral("The reports to choose from; a double click prints "
                                        "the one picked."));
    Accessible::describe(Label1[0], QStringLiteral("The first day of the report, for example "
                                                   "01/Mar/2026; empty for no start. Alt+Down "
                                                   "opens the calendar."));
    Accessible::describe(Label1[1], QStringLiteral("The last day of the report, for example "
                                                   "31/Mar/2026; empty for no end. Alt+Down "
                                                   "opens the calendar."));

    connect(Toolbar1, &Toolbar::ButtonClick, this, [this](const QString& key) {
        dbStuff::RunHandler([this, key] { Toolbar1_ButtonClick(key); });
    });
    connect(cbobusiness, &ComboBox::Click, this,
            [this] { dbStuff::RunHandler([this] { cbobusiness_Click(); }); });
    connect(LV1, &ListView::ItemClick, this,
            [this](ListItem* item) { dbStuff::RunHandler([this, item] { LV1_ItemClick(item); }); });
    connect(LV1, &ListView::DblClick, this,
            [this] { dbStuff::RunHandler([this] { LV1_DblClick(); }); });
}

void frmPrint::Form_Load()
{
    if (!dbStuff::DB)
        throw VbError(VbErr::ObjectNotSet);
    FIllcboBusiness();
    FillLV1();
    dt1[0]->setValue(Variant::null());
    dt1[1]->setValue(Variant::null());
    selectReport(LV1->SelectedItem());
}

void frmPrint::FIllcboBusiness()
{
    using namespace dbStuff;
    const QList<Ledger::Business> businesses = ledger().businesses();
    cbobusiness->Clear();
    for (const Ledger::Business& business : businesses)
        cbobusiness->AddItem(business.name, business.id);
}

void frmPrint::FillLV1()
{
    const QList<Ledger::ReportEntry> reports = dbStuff::ledger().reports();
    if (reports.isEmpty())
        return;
    LV1->Clear();
    for (const Ledger::ReportEntry& report : reports) {
        const QString id = QString::number(report.id);
        dbStuff::NewItem = LV1->Add(QStringLiteral("r") + id, report.title);
        dbStuff::NewItem->setSubItems(2, id);
    }
}

// Looks the item's report up and makes it the current report.
void frmPrint::selectReport(ListItem* item)
{
    if (!item)
        return;
    const std::optional<Ledger::ReportEntry> report =
        dbStuff::ledger().report(dbStuff::IdFromKey(item->Key()));
    if (!report)
        return;
    CurrentReportTitle = report->title;
    CurrentReportId = long(report->id);
}

void frmPrint::selectBusiness(qint64 businessId)
{
    for (int i = 0; i < cbobusiness->ListCount(); ++i) {
        if (cbobusiness->ItemData(i) == businessId) {
            cbobusiness->setListIndex(i);
            cbobusiness_Click();
            return;
        }
    }
}

ReportPeriod frmPrint::chosenPeriod() const
{
    ReportPeriod period;
    if (const Variant start = dt1[0]->Value(); !start.isNull())
        period.from = start.toDate().date();
    if (const Variant end = dt1[1]->Value(); !end.isNull())
        period.to = end.toDate().date();
    return period;
}

void frmPrint::cbobusiness_Click()
{
    if (cbobusiness->ListIndex() < 0)
        return;
    Toolbar1->setButtonEnabled(QStringLiteral("print"), LV1->SelectedItem() != nullptr);
}

void frmPrint::LV1_ItemClick(ListItem* Item)
{
    Toolbar1->setButtonEnabled(QStringLiteral("print"),
                               cbobusiness->ListIndex() >= 0 && LV1->SelectedItem() != nullptr);
    selectReport(Item);
}

void frmPrint::LV1_DblClick()
{
    // Without a business there is nothing to select the transactions by.
    if (cbobusiness->ListIndex() < 0 || !LV1->SelectedItem())
        return;
    Toolbar1_ButtonClick(QStringLiteral("print"));
}

void frmPrint::dt1_Change(int Index)
{
    if (Index != 0)
        return;
    const Variant start = dt1[0]->Value();
    if (start.isNull())
        return; // a start date taken away leaves the end date as it is
    const QDate end = start.toDate().date().addMonths(1).addDays(-1);
    dt1[1]->setValue(Variant(end));
    dt1[1]->setValue(Variant::null());
}

void frmPrint::Toolbar1_ButtonClick(const QString& key)
{
    if (key == u"print") {
        if (cbobusiness->ListIndex() < 0 || !LV1->SelectedItem())
            return;
        if (!MakeReport())
            return;
        frmCrys& viewer = crys();
        // Report files lie in the database's folder; a title that names another
        // folder ("../x") must not make the viewer read a file from there.
        const QString title = CurrentReportTitle;
        const qsizetype cut = std::max(title.lastIndexOf(u'/'), title.lastIndexOf(u'\\'));
        viewer.Report1.ReportFile = dbStuff::DBFolder + title.mid(cut + 1);
        viewer.Report1.BusinessId = cbobusiness->ItemData(cbobusiness->ListIndex());
        viewer.Report1.Period = chosenPeriod();
        viewer.exec();
    } else if (key == u"close") {
        close();
    }
}

frmCrys& frmPrint::crys()
{
    if (!m_crys)
        m_crys = new frmCrys(this);
    return *m_crys;
}

void frmPrint::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeHeader();
    Form_Resize();
}

void frmPrint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The controls know their final size hints only once filled and polished.
    fitToFont();
    placeHeader();
    Form_Resize();
}

void frmPrint::fitToFont()
{
    frCriteria->resize(frCriteria->width(), std::max(Twips::toPixels(CriteriaHeight),
                                                     frCriteria->minimumSizeHint().height()));
    const int rowBottom = headerTop() + businessRow->sizeHint().height();
    setMinimumSize(
        std::max(Twips::toPixels(RowLeft + RowRightMargin) + businessRow->minimumSizeHint().width(),
                 frCriteria->minimumSizeHint().width()),
        rowBottom + Twips::toPixels(180 + 120) + frCriteria->height());
}

int frmPrint::headerTop() const
{
    // As designed, unless the toolbar needs that room at the window's font.
    return std::max(Twips::toPixels(RowTop), Toolbar1->sizeHint().height() + Twips::toPixels(60));
}

void frmPrint::placeHeader()
{
    Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());
    // The row keeps its designed width; in a narrower window the box gives up
    // what the window lacks, down to its least width; in a wider one the
    // caption keeps what its text needs.
    const int room = width() - Twips::toPixels(RowLeft + RowRightMargin);
    const int rowWidth =
        std::max(businessRow->minimumSizeHint().width(), std::min(room, Twips::toPixels(RowWidth)));
    businessRow->setGeometry(Twips::toPixels(RowLeft), headerTop(), rowWidth,
                             businessRow->sizeHint().height());
}

void frmPrint::Form_Resize()
{
    const int innerWidth = Twips::widthOf(this);
    const int innerHeight = Twips::heightOf(this);
    const int comboTop = Twips::fromPixels(businessRow->y() + cbobusiness->y());
    const int listTop = comboTop + Twips::heightOf(cbobusiness) + 180;
    const int listHeight = std::max(0, innerHeight - listTop - Twips::heightOf(frCriteria) - 120);
    Twips::setGeometry(LV1, 0, listTop, innerWidth, listHeight);
    Twips::setGeometry(frCriteria, 0, listTop + listHeight + 120, innerWidth,
                       Twips::heightOf(frCriteria));
    LV1->setColumnHeaderWidth(1, std::max(0, Twips::widthOf(LV1) - LV1->ColumnHeaderWidth(2) -
                                                 LV1->ColumnHeaderWidth(3) - 400));
}
