#pragma once

#include <QString>

#include <exception>

// A run-time error of the program: a number that handlers branch on and the
// standard text for it. Every layer throws these; nothing else crosses a layer.
// An error carries all that its report shows (the text names its file or
// object), so it is reported by passing the error itself, never its number.
class VbError final : public std::exception
{
public:
    explicit VbError(long number, const QString& item = QString(),
                     const QString& detail = QString());

    long number() const { return m_number; }
    // The standard text, with the item (a file or object name) filled in.
    QString description() const { return m_description; }
    // Extra context for logs and tests (for example the engine's own message);
    // never shown in place of the standard text.
    QString detail() const { return m_detail; }
    const char* what() const noexcept override;

    // The standard text for an error number; "|" in a text stands for the item.
    static QString standardText(long number, const QString& item = QString());

private:
    long m_number;
    QString m_description;
    QString m_detail;
    mutable QByteArray m_what;
};

// Every error number the program raises, branches on or reports, by name.
// The numbers are the platform's own, so a message or a test can quote them;
// the standard text of each is in VbError.cpp.
namespace VbErr {
// Language and run-time errors.
inline constexpr long ReturnWithoutGoSub = 3;
inline constexpr long InvalidCall = 5;
inline constexpr long Overflow = 6;
inline constexpr long OutOfMemory = 7;
inline constexpr long SubscriptOutOfRange = 9;
inline constexpr long DivisionByZero = 11;
inline constexpr long TypeMismatch = 13;
// Something went wrong that is none of the above: a fault of the program
// itself, reported rather than let out of an event handler.
inline constexpr long InternalError = 51;
// Files and devices.
inline constexpr long BadFileName = 52;
inline constexpr long FileNotFound = 53;
inline constexpr long FileAlreadyOpen = 55;
inline constexpr long DeviceIOError = 57;
inline constexpr long FileAlreadyExists = 58;
inline constexpr long DeviceFull = 61;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccess = 75;
inline constexpr long PathNotFound = 76;
// Objects and controls.
inline constexpr long ObjectNotSet = 91;
inline constexpr long InvalidUseOfNull = 94;
inline constexpr long InvalidPropertyValue = 380;
inline constexpr long ObjectRequired = 424;
// The database engine.
inline constexpr long ReservedError = 3000;
inline constexpr long InvalidArgument = 3001;
inline constexpr long ObjectExists = 3012;
inline constexpr long NoCurrentIndex = 3019;
inline constexpr long UpdateWithoutEdit = 3020;
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long DuplicateKey = 3022;
inline constexpr long DbFileNotFound = 3024;
inline constexpr long DiskFull = 3026;
inline constexpr long ReadOnly = 3027;
inline constexpr long DiskOrNetworkError = 3043;
inline constexpr long InvalidPath = 3044;
inline constexpr long CannotUseFile = 3045;
inline constexpr long CannotOpenFile = 3051;
inline constexpr long TooFewParameters = 3061;
inline constexpr long SyntaxError = 3075;
inline constexpr long TableNotFound = 3078;
inline constexpr long InvalidBookmark = 3159;
inline constexpr long FieldTooSmall = 3163;
inline constexpr long FieldNotUpdatable = 3164;
inline constexpr long RecordDeleted = 3167;
inline constexpr long DataChanged = 3197;
inline constexpr long RelatedRecordRequired = 3201;
inline constexpr long DatabaseExists = 3204;
inline constexpr long RecordLocked = 3218;
inline constexpr long NotSupported = 3251;
inline constexpr long ItemNotFound = 3265;
inline constexpr long NullInRequired = 3314;
inline constexpr long ZeroLengthString = 3315;
inline constexpr long ValidationRule = 3317;
inline constexpr long UnrecognizedFormat = 3343;
inline constexpr long ObjectInvalid = 3420;
inline constexpr long ConversionError = 3421;
inline constexpr long CriteriaTypeMismatch = 3464;
// The common dialog, when the user cancels and CancelError is set.
inline constexpr long CancelSelected = 32755;
} // namespace VbErr
