#include "lookups/LookupLayout.h"

#include "platform/widgets/Twips.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

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

void fitLabels(const QList<QLabel*>& labels, const QList<QWidget*>& boxes)
{
    // A few pixels between the longest caption and the boxes.
    constexpr int Spacing = 6;
    int needed = 0;
    for (QLabel* label : labels) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        needed = std::max(needed, label->x() + label->width() + Spacing);
    }
    for (QWidget* box : boxes)
        if (box->x() < needed)
            box->move(needed, box->y());
}

} // namespace LookupLayout
