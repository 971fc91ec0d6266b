#include "reports/frmChanges.h"

#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PeriodPickers.h"
#include "reports/ChangesReport.h"
#include "reports/ReportWindow.h"
#include "shell/dbStuff.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace dbStuff;

frmChanges::frmChanges(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChanges"));
    setWindowTitle(QStringLiteral("Changes"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cboBusiness = new ComboBox(ComboBox::DropDownList);
    cboBusiness->setObjectName(QStringLiteral("cboBusiness"));
    cboBusiness->setMinimumWidth(240);
    cmdShow = new QPushButton(QStringLiteral("&Show"));
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setDefault(true);
    report = new ReportWindow;
    report->setObjectName(QStringLiteral("report"));
    report->setToolbarVisible(true);
    report->showMessage(QStringLiteral("Pick a business and a period, then Show."), QString());

    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Business"));
    label->setBuddy(cboBusiness);
    choice->addWidget(label);
    choice->addWidget(cboBusiness);
    const PeriodPickers period(*choice, QStringLiteral("from"), QStringLiteral("Changes"),
                               QStringLiteral("changes"));
    dtpFrom = period.from;
    dtpTo = period.to;
    choice->addWidget(cmdShow);
    choice->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(report, 1);
    resize(960, 720);

    Accessible::describe(label, QStringLiteral("The business whose changes the report lists; "
                                               "the arrow keys choose."));
    Accessible::describe(cmdShow, QStringLiteral("Show"),
                         QStringLiteral("Lists the changes of the business in the period below."));

    connect(cmdShow, &QPushButton::clicked, this,
            [this] { RunHandler([this] { cmdShow_Click(); }); });
    RunHandler([this] { fillBusinesses(); });
}

frmChanges::~frmChanges() = default;

void frmChanges::fillBusinesses()
{
    cboBusiness->Clear();
    for (const Ledger::Business& b : ledger().businesses())
        cboBusiness->AddItem(b.name, b.id);
    if (cboBusiness->ListCount() > 0)
        cboBusiness->setListIndex(0);
}

void frmChanges::selectBusiness(qint64 businessId)
{
    for (int i = 0; i < cboBusiness->ListCount(); ++i) {
        if (cboBusiness->ItemData(i) == businessId)
            cboBusiness->setListIndex(i);
    }
}

void frmChanges::cmdShow_Click()
{
    if (cboBusiness->ListIndex() < 0) {
        MsgBox(QStringLiteral("Pick a business."), vbExclamation);
        return;
    }
    if (!dtpFrom->Readable() || !dtpTo->Readable()) {
        MsgBox(QStringLiteral("A date of the period cannot be read."), vbExclamation);
        return;
    }
    ReportPeriod period;
    if (const Variant from = dtpFrom->Value(); !from.isNull())
        period.from = from.toDate().date();
    if (const Variant to = dtpTo->Value(); !to.isNull())
        period.to = to.toDate().date();
    if (!DB || !DB->isOpen())
        throw VbError(VbErr::ObjectNotSet);
    report->showReport(std::make_shared<const ReportResult>(
        BuildChangesReport(*DB, cboBusiness->ItemData(cboBusiness->ListIndex()), period)));
}
