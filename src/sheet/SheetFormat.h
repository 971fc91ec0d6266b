#pragma once

#include "platform/Currency.h"
#include "platform/Variant.h"

#include <QString>
#include <QStringView>

#include <optional>

// The three cell formats of the sheet and the reading of amount cells, quick
// enough for sheets of 100,000 rows. Each gives exactly what Format, IsNumeric
// and Currency give for the same value; the common shapes take a short path.
namespace SheetFormat {

// "dd/MMM/yyyy"; "" for Null.
QString date(const Variant& value);
// "#,##0.#0"; "" for Null.
QString amount(const Variant& value);
// "0/000/000" for an id made of digits alone (every digit kept); any other
// text as it stands.
QString receiptId(const QString& text);

// The value of an amount cell when it reads as a number under the program
// locale (thousands separators allowed); nullopt for empty or other text.
// Error 6 when the number does not fit the currency type.
std::optional<Currency> readAmount(QStringView text);

} // namespace SheetFormat
