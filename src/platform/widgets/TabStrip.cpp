#include "platform/widgets/TabStrip.h"

#include "platform/VbError.h"
#include "platform/widgets/Twips.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {
constexpr int FrameMargin = 2; // pixels between the frame line and the client area
}

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this))
{
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    setFocusProxy(m_bar);
    connect(m_bar, &QTabBar::currentChanged, this, [this] {
        if (!m_programChange)
            emit Click();
    });
}

int TabStrip::addTab(const QString& key, const QString& caption)
{
    m_keys.append(key);
    m_programChange = true;
    m_bar->addTab(caption); // the first tab becomes the selected one
    m_programChange = false;
    m_bar->resize(width(), m_bar->sizeHint().height());
    update();
    return int(m_keys.size());
}

int TabStrip::TabCount() const
{
    return m_bar->count();
}

void TabStrip::checkIndex(int index) const
{
    if (index < 1 || index > m_bar->count())
        throw VbError(VbErr::SubscriptOutOfRange);
}

QString TabStrip::Key(int index) const
{
    checkIndex(index);
    return m_keys.at(index - 1);
}

QString TabStrip::Caption(int index) const
{
    checkIndex(index);
    return m_bar->tabText(index - 1);
}

void TabStrip::setCaption(int index, const QString& caption)
{
    checkIndex(index);
    m_bar->setTabText(index - 1, caption);
}

void TabStrip::setDescription(int index, const QString& description)
{
    checkIndex(index);
    m_bar->setTabToolTip(index - 1, description);
}

int TabStrip::SelectedItem() const
{
    return m_bar->currentIndex() + 1;
}

void TabStrip::setSelectedItem(int index)
{
    checkIndex(index);
    m_programChange = true;
    m_bar->setCurrentIndex(index - 1);
    m_programChange = false;
}

QRect TabStrip::clientRect() const
{
    const int top = m_bar->sizeHint().height() + FrameMargin;
    const QRect inner(FrameMargin, top, std::max(0, width() - 2 * FrameMargin),
                      std::max(0, height() - top - FrameMargin));
    return inner.translated(pos());
}

int TabStrip::ClientLeft() const
{
    return Twips::fromPixels(clientRect().x());
}

int TabStrip::ClientTop() const
{
    return Twips::fromPixels(clientRect().y());
}

int TabStrip::ClientWidth() const
{
    return Twips::fromPixels(clientRect().width());
}

int TabStrip::ClientHeight() const
{
    return Twips::fromPixels(clientRect().height());
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, m_bar->height() - 1, width(), height() - m_bar->height() + 1);
    frame.tabBarSize = m_bar->size();
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabStrip::resizeEvent(QResizeEvent*)
{
    m_bar->resize(width(), m_bar->sizeHint().height());
}
