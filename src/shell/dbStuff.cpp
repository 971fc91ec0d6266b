#include "shell/dbStuff.h"

#include "platform/Variant.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"

#include <exception>
#include <limits>
#include <new>

namespace dbStuff {

std::unique_ptr<Database> DB;
QString DBPath;
QString DBFolder;
std::unique_ptr<Recordset> rsCategories;
std::unique_ptr<Recordset> rsTransactions;
QString SortSQL;
QString SqlText;
std::unique_ptr<Recordset> rsList;
ListItem* NewItem = nullptr;
int Answer = 0;
int CurrentTab = 0;
bool SheetOpen = false;
bool GridBusy = false;
bool NewRecord = false;
QString ReportQueryName;
QueryDef ReportQuery;

Ledger ledger()
{
    if (!DB)
        throw VbError(VbErr::ObjectNotSet);
    return Ledger(*DB);
}

void ReportError(const VbError& error)
{
    MsgBox(QStringLiteral("Error ") + QString::number(error.number()) + QStringLiteral(":  ") +
               error.description() + QStringLiteral("\r\r"),
           vbCritical + vbOKOnly, AppTitle);
}

void RunHandler(const std::function<void()>& handler)
{
    // Nothing may leave a handler: an exception unwinding through Qt's event
    // loop ends the program.
    try {
        handler();
    } catch (const VbError& e) {
        ReportError(e);
    } catch (const std::bad_alloc&) {
        ReportError(VbError(VbErr::OutOfMemory));
    } catch (const std::exception& e) {
        ReportError(VbError(VbErr::InternalError, QString(), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        ReportError(VbError(VbErr::InternalError));
    }
}

long IdFromKey(const QString& Key)
{
    try {
        if (Key.size() == 1)
            return 0;
        // The letter and then the id; a key with no letter at all is an
        // invalid argument, as taking its last -1 characters would be.
        if (Key.isEmpty())
            throw VbError(VbErr::InvalidCall);
        const qint64 id = Variant(Key.mid(1)).toLong();
        if (id < std::numeric_limits<qint32>::min() || id > std::numeric_limits<qint32>::max())
            throw VbError(VbErr::Overflow);
        return long(id);
    } catch (const VbError& e) {
        ReportError(e);
        return 0;
    }
}

} // namespace dbStuff
