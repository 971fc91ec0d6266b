#include "platform/VbError.h"

#include <QHash>

namespace {

// The standard texts of every error number the program can meet.
const QHash<long, QString>& texts()
{
    static const QHash<long, QString> table = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {61, "Disk full"},
        {70, "Permission denied"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {380, "Invalid property value"},
        {424, "Object required"},
        {3000, "Reserved error (|); there is no message for this error."},
        {3001, "Invalid argument."},
        {3012, "Object '|' already exists."},
        {3019, "Operation invalid without a current index."},
        {3020, "Update or CancelUpdate without AddNew or Edit."},
        {3021, "No current record."},
        {3022, "The changes you requested to the table were not successful because they would "
               "create duplicate values in the index, primary key, or relationship. Change the "
               "data in the field or fields that contain duplicate data, remove the index, or "
               "redefine the index to permit duplicate entries and try again."},
        {3024, "Could not find file '|'."},
        {3026, "Not enough space on disk."},
        {3027, "Cannot update. Database or object is read-only."},
        {3043, "Disk or network error."},
        {3044, "'|' isn't a valid path. Make sure that the path name is spelled correctly and "
               "that you are connected to the server on which the file resides."},
        {3045, "Could not use '|'; file already in use."},
        {3051, "The database engine cannot open the file '|'. It is already opened exclusively "
               "by another user, or you need permission to view its data."},
        {3061, "Too few parameters. Expected |."},
        {3075, "Syntax error in query expression '|'."},
        {3078, "The database engine cannot find the input table or query '|'. Make sure it "
               "exists and that its name is spelled correctly."},
        {3159, "Not a valid bookmark."},
        {3163, "The field is too small to accept the amount of data you attempted to add. Try "
               "inserting or pasting less data."},
        {3164, "Field cannot be updated."},
        {3167, "Record is deleted."},
        {3201, "You cannot add or change a record because a related record is required in "
               "table '|'."},
        {3204, "Database '|' already exists."},
        {3218, "Could not update; currently locked."},
        {3251, "Operation is not supported for this type of object."},
        {3265, "Item not found in this collection."},
        {3314, "The field '|' cannot contain a Null value because the Required property for "
               "this field is set to True. Enter a value in this field."},
        {3315, "Field '|' cannot be a zero-length string."},
        {3317, "One or more values are prohibited by the validation rule '|' set for the "
               "table. Enter a value that the expression for this field can accept."},
        {3464, "Data type mismatch in criteria expression."},
        {3343, "Unrecognized database format '|'."},
        {3420, "Object invalid or no longer set."},
        {3421, "Data type conversion error."},
        {32755, "Cancel was selected."},
    };
    return table;
}

struct LastError
{
    long number = 0;
    QString description;
};

// Everything runs on the user-interface thread, as with the platform's own
// error object.
LastError& lastError()
{
    static LastError last;
    return last;
}

} // namespace

VbError::VbError(long number, const QString& item) : VbError(number, item, QString()) {}

VbError::VbError(long number, const QString& item, const QString& detail)
    : m_number(number), m_description(standardText(number, item)), m_detail(detail)
{
    lastError() = {m_number, m_description};
}

QString VbError::lastDescription(long number)
{
    const LastError& last = lastError();
    return last.number == number ? last.description : standardText(number);
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
        text.replace(QLatin1Char('|'), number == 3000 ? QString::number(number) : item);
    return text;
}
