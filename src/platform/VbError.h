#pragma once

#include <QString>

#include <exception>

// A run-time error of the program: a number that handlers branch on and the
// standard text for it. Every layer throws these; nothing else crosses a layer.
class VbError final : public std::exception
{
public:
    explicit VbError(long number, const QString& item = QString());
    VbError(long number, const QString& item, const QString& detail);

    long number() const { return m_number; }
    // The standard text, with the item (a file or object name) filled in.
    QString description() const { return m_description; }
    // Extra context for logs and tests (for example the engine's own message);
    // never shown in place of the standard text.
    QString detail() const { return m_detail; }
    const char* what() const noexcept override;

    // The standard text for an error number; "|" in a text stands for the item.
    static QString standardText(long number, const QString& item = QString());
    // The description of the error made last when it has this number, else the
    // standard text: so an error box shown from the number alone still names
    // the file or object the error was about.
    static QString lastDescription(long number);

private:
    long m_number;
    QString m_description;
    QString m_detail;
    mutable QByteArray m_what;
};

// Error numbers the program branches on by name.
namespace VbErr {
inline constexpr long InvalidCall = 5;
inline constexpr long Overflow = 6;
inline constexpr long SubscriptOutOfRange = 9;
inline constexpr long DivisionByZero = 11;
inline constexpr long TypeMismatch = 13;
inline constexpr long FileNotFound = 53;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccess = 75;
inline constexpr long ObjectNotSet = 91;
inline constexpr long InvalidUseOfNull = 94;
inline constexpr long ObjectExists = 3012;
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long DuplicateKey = 3022;
inline constexpr long DbFileNotFound = 3024;
inline constexpr long DiskFull = 3026;
inline constexpr long ReadOnly = 3027;
inline constexpr long CannotUseFile = 3045;
inline constexpr long SyntaxError = 3075;
inline constexpr long TableNotFound = 3078;
inline constexpr long FieldTooSmall = 3163;
inline constexpr long RecordDeleted = 3167;
inline constexpr long DatabaseExists = 3204;
inline constexpr long ItemNotFound = 3265;
inline constexpr long NullInRequired = 3314;
inline constexpr long ZeroLengthString = 3315;
inline constexpr long ObjectInvalid = 3420;
inline constexpr long ConversionError = 3421;
inline constexpr long CancelSelected = 32755;
} // namespace VbErr
