#include "lookups/LookupLayout.h"

#include "platform/widgets/Twips.h"

#include <algorithm>

#include <QWidget>

namespace LookupLayout {

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::toPixels(QRect(left, top, std::max(0, width), std::max(0, height))));
}

int heightTwips(const QWidget* widget)
{
    return Twips::fromPixels(widget->height());
}

int widthTwips(const QWidget* widget)
{
    return Twips::fromPixels(widget->width());
}

} // namespace LookupLayout
