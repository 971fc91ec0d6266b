#include "platform/VbError.h"

#include <QHash>

namespace {

// The standard texts of every error number the program can meet.
const QHash<long, QString>& texts()
{
    static const QHash<long, QString> table = {
        {VbErr::ReturnWithoutGoSub, "Return without GoSub"},
        {VbErr::InvalidCall, "Invalid procedure call or argument"},
        {VbErr::Overflow, "Overflow"},
        {VbErr::OutOfMemory, "Out of memory"},
        {VbErr::SubscriptOutOfRange, "Subscript out of range"},
        {VbErr::DivisionByZero, "Division by zero"},
        {VbErr::TypeMismatch, "Type mismatch"},
        {VbErr::InternalError, "Internal error"},
        {VbErr::BadFileName, "Bad file name or number"},
        {VbErr::FileNotFound, "File not found"},
        {VbErr::FileAlreadyOpen, "File already open"},
        {VbErr::DeviceIOError, "Device I/O error"},
        {VbErr::FileAlreadyExists, "File already exists"},
        {VbErr::DeviceFull, "Disk full"},
        {VbErr::PermissionDenied, "Permission denied"},
        {VbErr::PathFileAccess, "Path/File access error"},
        {VbErr::PathNotFound, "Path not found"},
        {VbErr::ObjectNotSet, "Object variable or With block variable not set"},
        {VbErr::InvalidUseOfNull, "Invalid use of Null"},
        {VbErr::InvalidPropertyValue, "Invalid property value"},
        {VbErr::ObjectRequired, "Object required"},
        {VbErr::ReservedError, "Reserved error (|); there is no message for this error."},
        {VbErr::InvalidArgument, "Invalid argument."},
        {VbErr::ObjectExists, "Object '|' already exists."},
        {VbErr::NoCurrentIndex, "Operation invalid without a current index."},
        {VbErr::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit."},
        {VbErr::NoCurrentRecord, "No current record."},
        {VbErr::DuplicateKey,
         "The changes you requested to the table were not successful because they would "
         "create duplicate values in the index, primary key, or relationship. Change the "
         "data in the field or fields that contain duplicate data, remove the index, or "
         "redefine the index to permit duplicate entries and try again."},
        {VbErr::DbFileNotFound, "Could not find file '|'."},
        {VbErr::DiskFull, "Not enough space on disk."},
        {VbErr::ReadOnly, "Cannot update. Database or object is read-only."},
        {VbErr::DiskOrNetworkError, "Disk or network error."},
        {VbErr::InvalidPath,
         "'|' isn't a valid path. Make sure that the path name is spelled correctly and "
         "that you are connected to the server on which the file resides."},
        {VbErr::CannotUseFile, "Could not use '|'; file already in use."},
        {VbErr::CannotOpenFile,
         "The database engine cannot open the file '|'. It is already opened exclusively "
         "by another user, or you need permission to view its data."},
        {VbErr::TooFewParameters, "Too few parameters. Expected |."},
        {VbErr::SyntaxError, "Syntax error in query expression '|'."},
        {VbErr::TableNotFound,
         "The database engine cannot find the input table or query '|'. Make sure it "
         "exists and that its name is spelled correctly."},
        {VbErr::InvalidBookmark, "Not a valid bookmark."},
        {VbErr::FieldTooSmall,
         "The field is too small to accept the amount of data you attempted to add. Try "
         "inserting or pasting less data."},
        {VbErr::FieldNotUpdatable, "Field cannot be updated."},
        {VbErr::RecordDeleted, "Record is deleted."},
        {VbErr::DataChanged,
         "The database engine stopped the process because you and another user are "
         "attempting to change the same data at the same time."},
        {VbErr::RelatedRecordRequired,
         "You cannot add or change a record because a related record is required in "
         "table '|'."},
        {VbErr::DatabaseExists, "Database '|' already exists."},
        {VbErr::RecordLocked, "Could not update; currently locked."},
        {VbErr::NotSupported, "Operation is not supported for this type of object."},
        {VbErr::ItemNotFound, "Item not found in this collection."},
        {VbErr::NullInRequired,
         "The field '|' cannot contain a Null value because the Required property for "
         "this field is set to True. Enter a value in this field."},
        {VbErr::ZeroLengthString, "Field '|' cannot be a zero-length string."},
        {VbErr::ValidationRule,
         "One or more values are prohibited by the validation rule '|' set for the "
         "table. Enter a value that the expression for this field can accept."},
        {VbErr::CriteriaTypeMismatch, "Data type mismatch in criteria expression."},
        {VbErr::UnrecognizedFormat, "Unrecognized database format '|'."},
        {VbErr::ObjectInvalid, "Object invalid or no longer set."},
        {VbErr::ConversionError, "Data type conversion error."},
        {VbErr::CancelSelected, "Cancel was selected."},
    };
    return table;
}

} // namespace

VbError::VbError(long number, const QString& item, const QString& detail)
    : m_number(number), m_description(standardText(number, item)), m_detail(detail)
{
}

const char* VbError::what() const noexcept
{
    if (m_what.isEmpty())
        m_what = QStringLiteral("Error %1: %2").arg(m_number).arg(m_description).toUtf8();
    return m_what.constData();
}

QString VbError::standardText(long number, const QString& item)
{
    const auto it = texts().constFind(number);
    if (it == texts().constEnd())
        return QStringLiteral("Application-defined or object-defined error");
    QString text = *it;
    if (text.contains(QLatin1Char('|')))
        text.replace(QLatin1Char('|'),
                     number == VbErr::ReservedError ? QString::number(number) : item);
    return text;
}
