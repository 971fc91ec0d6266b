#include "reports/frmPrint.h"

#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "reports/frmCrys.h"
#include "shell/dbStuff.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace {

// Sizes and places a control in twips, as the window was designed.
void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::toPixels(QRect(left, top, width, height)));
}

int heightTwips(const QWidget* widget)
{
    return Twips::fromPixels(widget->height());
}

int widthTwips(const QWidget* widget)
{
    return Twips::fromPixels(widget->width());
}

} // namespace

frmPrint::frmPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Report selection"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();
    resize(Twips::toPixels(QSize(6900, 4020)));
    dbStuff::RunHandler([this] { Form_Load(); });
    Form_Resize();
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

    Label2 = new QLabel(QStringLiteral("Business/account name"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    place(Label2, 120, 720, 1815, 255);

    cbobusiness = new ComboBox(ComboBox::DropDownList, this);
    cbobusiness->setObjectName(QStringLiteral("cbobusiness"));
    cbobusiness->move(Twips::toPixels(QPoint(1980, 660)));
    cbobusiness->resize(Twips::toPixels(4815), cbobusiness->sizeHint().height());

    // The caption keeps its designed place; where the font needs more room
    // than designed, the combo box moves right and stays inside the window.
    const int captionEnd = Twips::toPixels(120) + Label2->sizeHint().width() + 6;
    if (captionEnd > cbobusiness->x()) {
        const int shift = captionEnd - cbobusiness->x();
        Label2->resize(Label2->sizeHint().width(), Label2->height());
        cbobusiness->setGeometry(cbobusiness->x() + shift, cbobusiness->y(),
                                 std::max(Twips::toPixels(2000), cbobusiness->width() - shift),
                                 cbobusiness->height());
    }

    LV1 = new ListView(this);
    LV1->setObjectName(QStringLiteral("LV1"));
    LV1->addColumnHeader(QStringLiteral("Reports"), 3600);
    LV1->addColumnHeader(QStringLiteral("Criteria"), 1300, ListView::AlignCenter);
    LV1->addColumnHeader(QStringLiteral("RepId."), 900, ListView::AlignRight);
    LV1->setHideSelection(false);
    LV1->move(Twips::toPixels(QPoint(60, 1200)));

    frCriteria = new QGroupBox(QStringLiteral("Criteria"), this);
    frCriteria->setObjectName(QStringLiteral("frCriteria"));
    place(frCriteria, 0, 2700, 5055, 1275);
    const std::array<QString, 2> captions{QStringLiteral("Start date"), QStringLiteral("End date")};
    const std::array<int, 2> pickerTop{300, 840};
    const std::array<int, 2> labelTop{360, 900};
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(captions[i], frCriteria);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        place(Label1[i], 120, labelTop[i], 885, 255);
        dt1[i] = new DatePicker(frCriteria);
        dt1[i]->setObjectName(QStringLiteral("dt1_%1").arg(i));
        dt1[i]->move(Twips::toPixels(QPoint(1020, pickerTop[i])));
        dt1[i]->resize(Twips::toPixels(2175), dt1[i]->sizeHint().height());
        connect(dt1[i], &DatePicker::Change, this,
                [this, i] { dbStuff::RunHandler([this, i] { dt1_Change(i); }); });
    }

    // As for the business caption: a wider font moves both pickers right, in line.
    const int labelsEnd = std::max(Label1[0]->x() + Label1[0]->sizeHint().width(),
                                   Label1[1]->x() + Label1[1]->sizeHint().width()) +
                          6;
    for (DatePicker* picker : dt1)
        picker->move(std::max(picker->x(), labelsEnd), picker->y());

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
    Form_Resize();
}

void frmPrint::Form_Resize()
{
    const int innerWidth = widthTwips(this);
    const int innerHeight = heightTwips(this);
    Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());

    const int listTop = Twips::fromPixels(cbobusiness->y()) + heightTwips(cbobusiness) + 180;
    const int listHeight = std::max(0, innerHeight - listTop - heightTwips(frCriteria) - 120);
    place(LV1, 0, listTop, innerWidth, listHeight);
    place(frCriteria, 0, listTop + listHeight + 120, innerWidth, heightTwips(frCriteria));
    LV1->setColumnHeaderWidth(1, std::max(0, widthTwips(LV1) - LV1->ColumnHeaderWidth(2) -
                                                 LV1->ColumnHeaderWidth(3) - 400));
}
