#pragma once

// Drives the lookup windows as a user does: mouse clicks on list items, check
// boxes and toolbar buttons, typing into the boxes, picking combo entries.
// Every helper works on a shown window.

#include "data/Ledger.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "shell/dbStuff.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

namespace LookupDriver {

// Loads and shows a lookup window on the open database.
template <class Window> std::unique_ptr<Window> openWindow()
{
    auto window = std::make_unique<Window>();
    if (!window->Load())
        throw std::runtime_error("the window did not load");
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window.get()))
        throw std::runtime_error("the window was not shown");
    return window;
}

// A fresh database file, the shell's globals, and direct access to the file for
// arranging rows before the window opens and checking them after.
template <class Window> struct Fixture
{
    TempDatabase file;
    ShellEnvironment env;
    RawDb raw{file.path()};
    std::unique_ptr<Window> window;

    Window& open()
    {
        env.openDatabase(file.path());
        window = openWindow<Window>();
        return *window;
    }
};

const QString Save = QStringLiteral("save");
const QString Delete = QStringLiteral("delete");
const QString New = QStringLiteral("new");
const QString Close = QStringLiteral("close");

// List keys: "b" and the business id, "c" and the category id.
inline QString b(qint64 id)
{
    return QLatin1Char('b') + QString::number(id);
}

inline QString c(qint64 id)
{
    return QLatin1Char('c') + QString::number(id);
}

// Fails the test unless the message box showed exactly this.
inline void expectBox(const MessageRequest& box, const QString& prompt, int buttons, int icon)
{
    QCOMPARE(box.prompt, prompt);
    QCOMPARE(box.buttons(), buttons);
    QCOMPARE(box.icon(), icon);
    QCOMPARE(box.title, QStringLiteral("Zantoro"));
}

// Runs the action and closes the first modal window it opens; returns that
// window's title, or "" when none opened.
inline QString modalTitle(const std::function<void()>& action)
{
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll.stop();
            seen = modal->windowTitle();
            modal->close();
        }
    });
    poll.start(10);
    action();
    return seen;
}

// Clicks the item's text (box false) or its check box (box true).
inline void clickItem(ListView* list, const QString& key, bool box = false)
{
    ListItem* item = list->Find(key);
    QVERIFY2(item, qPrintable(key));
    list->scrollToItem(item);
    const QRect row = list->visualItemRect(item);
    int x = row.left() + std::min(list->columnWidth(0), row.width()) / 2;
    if (box)
        x = row.left() + list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
            1 + list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list) / 2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
}

inline void pressButton(Toolbar* toolbar, const QString& key)
{
    QWidget* button = toolbar->widgetForAction(toolbar->Button(key));
    QVERIFY2(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces the box's text by typing: select all, then the keys ("" empties it).
inline void typeInto(TextBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Picks an entry of a closed drop-down list with the keyboard.
inline void pickEntry(ComboBox* combo, int index)
{
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

// The items of a list as "key|text|sub-item 1|...", in list order.
inline QStringList rows(const ListView* list)
{
    QStringList result;
    for (int i = 1; i <= list->Count(); ++i) {
        const ListItem* item = list->Item(i);
        QStringList cells{item->Key(), item->Text()};
        for (int c = 1; c < list->ColumnHeaderCount(); ++c)
            cells << item->SubItems(c);
        result << cells.join(QLatin1Char('|'));
    }
    return result;
}

// The first field of each stored row: the names, in id order.
inline QStringList namesOf(const QList<QVariantList>& stored)
{
    QStringList result;
    for (const QVariantList& row : stored)
        result << row.at(0).toString();
    return result;
}

// The keys of the ticked items, in list order.
inline QStringList ticked(const ListView* list)
{
    QStringList result;
    for (int i = 1; i <= list->Count(); ++i)
        if (list->Item(i)->Checked())
            result << list->Item(i)->Key();
    return result;
}

// The category names the sheet's picker offers for a business on a sheet (1
// cash, 2 bank), through the program's database.
inline QStringList pickerOffers(qint64 business, int sheet)
{
    QStringList names;
    for (const Ledger::Category& category : dbStuff::ledger().sheetCategories(business, sheet))
        names << category.name;
    return names;
}

} // namespace LookupDriver
