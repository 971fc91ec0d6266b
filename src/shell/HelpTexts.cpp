#include "shell/HelpTexts.h"

#include <QtGlobal>

#include <sqlite3.h>

#ifndef ZANTORO_VERSION
#error "ZANTORO_VERSION is given by the build"
#endif

namespace HelpTexts {

QString gettingStarted()
{
    return QStringLiteral(
        "<h2>Getting started</h2>"
        "<h3>1. Businesses</h3>"
        "<p>File &gt; Lookup tables &gt; Businesses... holds the businesses you keep books for: "
        "a name, and optionally the VAT and account numbers. Type a name and save it.</p>"
        "<h3>2. Categories and their allocation</h3>"
        "<p>File &gt; Lookup tables &gt; Categories... holds the categories of your "
        "transactions: whether money is received or paid, the VAT rate, and whether the "
        "category is used on the cash sheet, the bank sheet or both. Tick a business in the "
        "allocation list to allocate the category to it: <b>a sheet offers only the categories "
        "allocated to its business</b>.</p>"
        "<h3>3. Typing a row</h3>"
        "<p>File &gt; Transactions... opens the sheet. Pick a business, then the Cash "
        "transactions or Bank transactions tab. On the last row type the description, receipt "
        "id, category, date, relation, invoice number and the amount, debited or credited. A "
        "row is stored when it is complete; the totals and the balance follow at once. Help "
        "&gt; Keyboard lists the keys.</p>"
        "<h3>Reports</h3>"
        "<p>File &gt; Print... (or the sheet's Print button) chooses a business, a report and "
        "an optional period, and shows the report in a viewer that prints it or saves it as "
        "PDF.</p>"
        "<h3>Backup and restore</h3>"
        "<p>File &gt; Create backup... writes a compacted, checked copy of the database where "
        "you choose. File &gt; Restore backup... puts a backup in place of the open database, "
        "after copying the open one to the automatic backups. When the program closes it "
        "keeps an automatic backup of the day in the backup folder's <i>auto</i> folder.</p>"
        "<h3>History and undo</h3>"
        "<p>Edit &gt; Undo and Redo take back, or do again, the steps of this run: a stored "
        "cell, a deleted row, a saved or deleted business or category, an allocation. Edit "
        "&gt; History... shows every version of a transaction and the records deleted in a "
        "period, and restores them.</p>"
        "<h3>Import and export</h3>"
        "<p>File &gt; Import bank statement... reads a camt.053, MT940, OFX or CSV statement and "
        "shows its lines before they are stored on a bank sheet. File &gt; Export... writes "
        "the rows of the open sheet as CSV; a report is exported from its viewer.</p>");
}

QString keyboard()
{
    return QStringLiteral(
        "<h2>Keyboard</h2>"
        "<h3>In every window</h3>"
        "<table cellpadding=\"3\">"
        "<tr><td><b>Tab, Shift+Tab</b></td>"
        "<td>Go to the next, or previous, control in reading order: top to bottom, left to "
        "right, toolbar buttons included. On the sheet's grid they leave the grid.</td></tr>"
        "<tr><td><b>Space</b></td><td>Presses the button that has the focus.</td></tr>"
        "</table>"
        "<h3>On the sheet's grid</h3>"
        "<table cellpadding=\"3\">"
        "<tr><td><b>Arrow keys, Page Up, Page Down</b></td>"
        "<td>Move the cell cursor.</td></tr>"
        "<tr><td><b>Home, End</b></td>"
        "<td>Move to the first or last column; with Ctrl, to the first or last row "
        "as well.</td></tr>"
        "<tr><td><b>A letter, digit or sign</b></td>"
        "<td>Opens the cell's editor with that character in place of the cell's text.</td></tr>"
        "<tr><td><b>Enter, Space</b> (or a double-click)</td>"
        "<td>Opens the cell's editor on the cell's text.</td></tr>"
        "<tr><td><b>Delete</b></td>"
        "<td>Deletes the transaction of the row, after asking.</td></tr>"
        "<tr><td><b>Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y</b></td>"
        "<td>Undo and Redo of the Edit menu.</td></tr>"
        "</table>"
        "<h3>In a cell's editor</h3>"
        "<table cellpadding=\"3\">"
        "<tr><td><b>Enter</b></td>"
        "<td>Stores the cell and moves to the next cell of the row; on the last amount "
        "column, to the first column of the next row.</td></tr>"
        "<tr><td><b>Tab, Shift+Tab</b></td>"
        "<td>Stores the cell and moves to the next, or previous, cell that has an "
        "editor.</td></tr>"
        "<tr><td><b>Up, Down</b></td>"
        "<td>Store the cell and move to the row above or below. In the category and "
        "relation pickers they move in the list instead.</td></tr>"
        "<tr><td><b>Escape</b></td>"
        "<td>Drops the edit; the cell keeps what it had.</td></tr>"
        "<tr><td><b>Backspace, Delete</b></td>"
        "<td>Delete text; in the relation picker they do so without completing the "
        "relation.</td></tr>"
        "<tr><td><b>Ctrl+Z</b></td><td>Takes back typing in the editor itself.</td></tr>"
        "</table>"
        "<p>An amount that is not a number, or a date that is none, is refused with a message: "
        "Enter, Tab and the arrow keys then neither store nor move.</p>"
        "<h3>In the other windows</h3>"
        "<table cellpadding=\"3\">"
        "<tr><td><b>Ctrl+S, Ctrl+N</b></td>"
        "<td>Businesses and categories: save, and start a new one.</td></tr>"
        "<tr><td><b>Delete</b></td>"
        "<td>Businesses and categories: deletes the one selected in the list, after "
        "asking.</td></tr>"
        "<tr><td><b>Space</b></td>"
        "<td>Ticks or unticks the current row of a list with boxes.</td></tr>"
        "<tr><td><b>Enter, Ctrl+P</b></td>"
        "<td>Report selection: prints the selected report.</td></tr>"
        "<tr><td><b>Ctrl+P, Ctrl+S</b></td>"
        "<td>Report viewer: prints, and saves as PDF; Ctrl+Plus and Ctrl+Minus zoom, "
        "Ctrl+Home and Ctrl+End go to the first and last page.</td></tr>"
        "<tr><td><b>Escape</b></td><td>Closes a dialog window.</td></tr>"
        "</table>");
}

QString about(const QString& databasePath)
{
    return QStringLiteral("Zantoro %1\r\rDatabase: %2\rQt %3\rSQLite %4\r\r"
                          "Licence: not yet chosen by the owner")
        .arg(QStringLiteral(ZANTORO_VERSION),
             databasePath.isEmpty() ? QStringLiteral("none open") : databasePath,
             QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion()));
}

} // namespace HelpTexts
