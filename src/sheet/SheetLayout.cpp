// The sheet window's layout: the tab strip and the grids fill the window below
// the toolbar, and "Description" takes the width the other columns leave.

#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"

namespace {

// Twips between the toolbar and the tab strip.
constexpr int TabStripGap = 120;
// SheetGrid::size: the narrowest "Description", and what it leaves for the scroll bar.
constexpr int MinDescriptionWidth = 2000;
constexpr int DescriptionReserve = 2000;

// A layout step whose failure is ignored: the control keeps its position.
template <typename Step> void ignoringErrors(Step step)
{
    try {
        step();
    } catch (const VbError&) {
    }
}

} // namespace

QSize frmTransactions::sizeHint() const
{
    return Twips::toPixels(QSize(16000, 9000));
}

void frmTransactions::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTransactions::Form_Resize()
{
    const int innerWidth = Twips::fromPixels(width());
    const int innerHeight = Twips::fromPixels(height());
    ignoringErrors([&] { Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height()); });

    // Each step on its own: a step that fails (a minimised window gives
    // negative sizes) leaves its control where it was.
    QRect tabs = Twips::fromPixels(TS1->geometry());
    ignoringErrors([&] {
        tabs.moveTop(Twips::fromPixels(Toolbar1->y()) + Twips::fromPixels(Toolbar1->height()) +
                     TabStripGap);
        TS1->setGeometry(Twips::toPixels(tabs));
    });
    ignoringErrors([&] {
        tabs.moveLeft(0);
        tabs.setWidth(innerWidth);
        TS1->setGeometry(Twips::toPixels(tabs));
    });
    ignoringErrors([&] {
        const int height = innerHeight - tabs.top();
        if (height < 0)
            throw VbError(VbErr::InvalidPropertyValue);
        tabs.setHeight(height);
        TS1->setGeometry(Twips::toPixels(tabs));
    });
    for (FlexGrid* grid : {FLX1, FLX2}) {
        ignoringErrors([&] {
            const QRect client(TS1->ClientLeft(), TS1->ClientTop(), TS1->ClientWidth(),
                               TS1->ClientHeight());
            if (client.width() <= 0 || client.height() <= 0)
                throw VbError(VbErr::InvalidPropertyValue);
            grid->setGeometry(Twips::toPixels(client));
        });
        SizeFLX(*grid);
    }
}

void SheetGrid::size()
{
    FlexGrid& ctl = m_grid;
    ignoringErrors([&] {
        long total = 0;
        for (int j = 0; j <= ctl.Cols() - 3; ++j)
            if (j != SheetCol::ColDescription)
                total += ctl.ColWidth(j);
        const long free = Twips::fromPixels(ctl.width()) - DescriptionReserve - total;
        ctl.setColWidth(SheetCol::ColDescription,
                        free > MinDescriptionWidth ? int(free) : MinDescriptionWidth);
    });
}
