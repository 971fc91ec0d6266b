#include "support/FailingFiles.h"

#include "shell/dbStuff.h"

#include <QFile>

void FailingFiles::compact(const QString& source, const QString& target)
{
    step(QStringLiteral("compact"));
    BackupFiles::compact(source, target);
}

void FailingFiles::flush(const QString& path)
{
    step(QStringLiteral("flush"));
    BackupFiles::flush(path);
    if (damageAfterFlush) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2))
            file.write(QByteArray(8192, '\xff'));
    }
}

void FailingFiles::check(const QString& path)
{
    step(QStringLiteral("check"));
    BackupFiles::check(path);
}

void FailingFiles::replace(const QString& from, const QString& to)
{
    step(QStringLiteral("replace"));
    BackupFiles::replace(from, to);
}

void FailingFiles::remove(const QString& path)
{
    step(QStringLiteral("remove"));
    BackupFiles::remove(path);
}

void FailingFiles::step(const QString& kind)
{
    const int nth = ++m_calls[kind];
    steps << (nth == 1 ? kind : kind + QStringLiteral("#%1").arg(nth));
    if (steps.last() == failAt) {
        databaseClosedAtFailure = dbStuff::DB && !dbStuff::DB->isOpen();
        throw VbError(failWith, QStringLiteral("injected"));
    }
}
