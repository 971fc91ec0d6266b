#pragma once

#include "platform/VbError.h"
#include "shell/BackupCopy.h"

#include <QHash>
#include <QStringList>

// The real file operations of backups, with one chosen step made to fail the
// way the file system would. A step is named by its kind, and from the second
// call of a kind on by its count too ("check#2": the second check).
class FailingFiles final : public dbStuff::BackupFiles
{
public:
    QString failAt;
    long failWith = VbErr::PathFileAccess;
    // Overwrites the middle of each file after flushing it, so that only a
    // real check of it can notice.
    bool damageAfterFlush = false;
    // The steps taken, failed one included.
    QStringList steps;
    // dbStuff::DB was closed when the chosen step failed.
    bool databaseClosedAtFailure = false;

    void compact(const QString& source, const QString& target) override;
    void flush(const QString& path) override;
    void check(const QString& path) override;
    void replace(const QString& from, const QString& to) override;
    void remove(const QString& path) override;

private:
    void step(const QString& kind);
    QHash<QString, int> m_calls;
};
