#pragma once

// A dark palette as a desktop's dark theme hands it to Qt: light text on dark
// fields, a blue highlight, grey for what is disabled. For the tests and the
// pictures that show the program in it.

#include <QColor>
#include <QPalette>

inline QPalette darkPalette()
{
    QPalette p;
    const QColor window(53, 53, 53);
    const QColor base(36, 36, 36);
    const QColor text(230, 230, 230);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, Qt::red);
        p.setColor(group, QPalette::Link, QColor(100, 170, 255));
        p.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
        p.setColor(group, QPalette::HighlightedText, Qt::black);
        p.setColor(group, QPalette::PlaceholderText, QColor(150, 150, 150));
    }
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    p.setColor(QPalette::Disabled, QPalette::Window, window);
    p.setColor(QPalette::Disabled, QPalette::Button, window);
    return p;
}
