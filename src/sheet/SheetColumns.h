#pragma once

#include <QtGlobal>

// The ten columns of both sheet grids, as the program numbers them. Column 0 is
// the grid's fixed column; column 9 has zero width.
namespace SheetCol {
inline constexpr int RowNumber = 0;
inline constexpr int ColDescription = 1;
inline constexpr int ColCategory = 2;
inline constexpr int ColDate = 3;
inline constexpr int ColInvoiceNr = 4;
inline constexpr int ColReceiptId = 5;
inline constexpr int ColRelation = 6;
inline constexpr int ColDebited = 7;
inline constexpr int ColCredited = 8;
inline constexpr int ColCategoryId = 9;
inline constexpr int Count = 10;
} // namespace SheetCol

namespace SheetText {
inline constexpr const char* DateFormat = "dd/MMM/yyyy";
inline constexpr const char* AmountFormat = "#,##0.#0";
inline constexpr const char* ReceiptFormat = "0/000/000";
// The invoice marker of a row whose category pays money out.
inline constexpr const char* NotApplicable = "n/a";
inline constexpr const char* Balance = "Balance";
inline constexpr const char* GrandTotal = "GrandTotal";
// Before the row number of a row shown but not stored.
inline constexpr const char* UnstoredMark = "*";
} // namespace SheetText

// Text colours of the balance cell (red in the lowest byte).
namespace SheetColor {
inline constexpr qint32 Shortfall = 255;    // more paid out than received
inline constexpr qint32 Surplus = 12582912; // more received, or even
inline constexpr qint32 Default = -1;       // the grid's own text colour
inline constexpr qint32 Unstored = 8421504; // grey: a row shown but not stored
} // namespace SheetColor

// Row data of a grid row that holds no stored transaction (the entry row and
// the two totals rows).
inline constexpr qint64 UnsavedRow = -1;
