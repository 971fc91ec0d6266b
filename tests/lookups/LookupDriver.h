#pragma once

// Drives the lookup windows as a user does: mouse clicks on list items, check
// boxes and toolbar buttons, typing into the boxes, picking combo entries.
// Every helper works on a shown window.

#include "data/Recordset.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "shell/dbStuff.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <memory>
#include <stdexcept>

#include <QAction>
#include <QStyle>
#include <QTest>

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

// A list key: the letter and the id.
inline QString key(char letter, qint64 id)
{
    return QChar::fromLatin1(letter) + QString::number(id);
}

// Fails the test unless the message box showed exactly this.
inline void expectBox(const MessageRequest& box, const QString& prompt, int buttons, int icon)
{
    QCOMPARE(box.prompt, prompt);
    QCOMPARE(box.buttons(), buttons);
    QCOMPARE(box.icon(), icon);
    QCOMPARE(box.title, QStringLiteral("Zantoro"));
}

inline QPoint textPoint(ListView* list, ListItem* item)
{
    list->scrollToItem(item);
    const QRect row = list->visualItemRect(item);
    return {row.left() + std::min(list->columnWidth(0), row.width()) / 2, row.center().y()};
}

inline QPoint checkPoint(ListView* list, ListItem* item)
{
    list->scrollToItem(item);
    const QRect row = list->visualItemRect(item);
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int box = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    return {row.left() + margin + box / 2, row.center().y()};
}

// Clicks the item with the key; fails the test when there is none.
inline void clickItem(ListView* list, const QString& key)
{
    ListItem* item = list->Find(key);
    QVERIFY2(item, qPrintable(key));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, textPoint(list, item));
}

// Clicks the check box of the item with the key.
inline void clickBox(ListView* list, const QString& key)
{
    ListItem* item = list->Find(key);
    QVERIFY2(item, qPrintable(key));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkPoint(list, item));
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

// The keys of the ticked items, in list order.
inline QStringList ticked(const ListView* list)
{
    QStringList result;
    for (int i = 1; i <= list->Count(); ++i)
        if (list->Item(i)->Checked())
            result << list->Item(i)->Key();
    return result;
}

inline QString selectedKey(const ListView* list)
{
    const ListItem* item = list->SelectedItem();
    return item ? item->Key() : QString();
}

// The category names the sheet's picker offers for a business on a sheet (1
// cash, 2 bank): the query the sheet sends, through the program's database.
inline QStringList pickerOffers(qint64 business, int sheet)
{
    const QString sql =
        QStringLiteral("SELECT distinct Categories.CategoryId, Categories.Category, "
                       "Categories.MoneyReceived, Categories.VAT, relCat_Bis.Busid, "
                       "Categories.CashOrBank ") +
        QStringLiteral(
            "FROM relCat_Bis INNER JOIN Categories ON relCat_Bis.CatId = Categories.CategoryId ") +
        QStringLiteral("WHERE relCat_Bis.Busid=") + QString::number(business) +
        QStringLiteral(" AND (Categories.CashOrBank=") + QString::number(sheet) +
        QStringLiteral(" OR Categories.CashOrBank=3)") +
        QStringLiteral("ORDER BY Categories.Category;");
    QStringList names;
    const std::unique_ptr<Recordset> rs =
        dbStuff::DB->OpenRecordset(sql, RecordsetType::ForwardOnly);
    for (; !rs->EOF_(); rs->MoveNext())
        names << rs->field(QStringLiteral("Category")).toText();
    return names;
}

} // namespace LookupDriver
