#pragma once

#include <QWidget>

class QTabBar;

// A row of tabs over a framed client area. The tab strip holds no pages: the
// window moves its own widgets (siblings of the tab strip, raised above it)
// onto the client rectangle and brings the right one to the front.
//
// Tabs are numbered from 1. Click fires when the user selects another tab,
// with SelectedItem() already naming it; setSelectedItem from code raises
// nothing.
//
// The tab row takes the keyboard focus for the strip (its focus proxy), so a
// name given to the strip is the tab row's.
class TabStrip final : public QWidget
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget* parent = nullptr);

    int addTab(const QString& key, const QString& caption);
    int TabCount() const;
    QString Key(int index) const;
    QString Caption(int index) const;
    void setCaption(int index, const QString& caption);
    // What the tab holds, said by a screen reader when the tab is current and
    // shown as the tab's tip.
    void setDescription(int index, const QString& description);

    // 1-based; 0 when there are no tabs.
    int SelectedItem() const;
    void setSelectedItem(int index);

    // The client area in twips, in the coordinates of the tab strip's parent,
    // so a sibling can be moved there directly.
    int ClientLeft() const;
    int ClientTop() const;
    int ClientWidth() const;
    int ClientHeight() const;
    // The same in pixels, in the parent's coordinates.
    QRect clientRect() const;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void checkIndex(int index) const;

    QTabBar* m_bar;
    QStringList m_keys;
    bool m_programChange = false;
};
