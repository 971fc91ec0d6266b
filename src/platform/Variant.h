#pragma once

#include "platform/Currency.h"

#include <QDateTime>
#include <QString>

#include <variant>

// The value of a field, a cell or an argument: typed, and aware of Null (a
// field without a value) and Empty (nothing assigned yet). Conversions follow
// the program's own rules: Null raises error 94 where a value is required,
// text that does not read as the wanted type raises 13, a number out of the
// target's range raises 6. Text is read and written under the program locale.
class Variant final
{
public:
    enum class Type
    {
        Empty,
        Null,
        Boolean,
        Long,
        Double,
        Currency,
        Date,
        String
    };

    Variant() = default; // Empty
    Variant(bool value) : m_value(value) {}
    Variant(int value) : m_value(qint64(value)) {}
    Variant(long value) : m_value(qint64(value)) {}
    Variant(long long value) : m_value(qint64(value)) {}
    Variant(double value) : m_value(value) {}
    Variant(Currency value) : m_value(value) {}
    // An invalid date or date-time (a picker without a date) is Null.
    Variant(const QDateTime& value);
    Variant(const QDate& value); // midnight, local time
    Variant(const QString& value) : m_value(value) {}
    Variant(const char* value) : m_value(QString::fromUtf8(value)) {}

    static Variant null();

    Type type() const;
    bool isNull() const { return type() == Type::Null; }
    bool isEmpty() const { return type() == Type::Empty; }

    // CStr: Null raises 94; Empty gives "". Dates give the short date (and the
    // time when it is not midnight), numbers their shortest exact text.
    QString toString() const;
    // For display: like toString, but Null and Empty give "".
    QString toText() const;
    // The numeric conversions below read Empty as 0 and True as 1 (as the store
    // keeps it), and a date as its day count from 30 Dec 1899 plus the time as a
    // fraction of a day.
    // CLng: rounds half to even; text is read exactly as a number first. The
    // range is that of qint64 (ids and row data are 64-bit here).
    qint64 toLong() const;
    // CDbl.
    double toDouble() const;
    // CBool: numbers are True when not zero; "True"/"False" text (any case) is
    // accepted, as is numeric text.
    bool toBool() const;
    // CCur: rounds half away from zero at the fourth decimal; text is read
    // exactly.
    Currency toCurrency() const;
    // CDate: dates as they are; text in the program's date forms (see
    // ProgramLocale::readDate); numbers as day counts. Empty raises 13: it is never silently
    // taken as a date.
    QDateTime toDate() const;

    // Same type and value; Null equals Null here (unlike in SQL), which is
    // what tests and change checks want.
    bool operator==(const Variant& other) const;

private:
    struct NullTag
    {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, qint64, double, Currency, QDateTime, QString>
        m_value;
};
