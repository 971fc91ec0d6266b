#pragma once

#include "platform/widgets/Screen.h"

#include <QString>
#include <QTemporaryDir>

// Points everything the shell reaches outside the test process at a fresh
// temporary place, for the life of the object: the settings folder, the user
// data folder ($XDG_DATA_HOME, which holds the default database location), the
// screen width (1024 unless a test sets another), the ending of the program.
// On destruction it closes the frame and every dbStuff global, and puts all of
// it back. One at a time.
//
// End() no longer ends the process: it counts the ending and throws
// ProgramEnded, which unwinds to the test:
//   QVERIFY_THROWS_EXCEPTION(ShellEnvironment::ProgramEnded, dbStuff::Main());
class ShellEnvironment final
{
public:
    struct ProgramEnded
    {
        ExitStatus status;
    };

    ShellEnvironment();
    ~ShellEnvironment();
    ShellEnvironment(const ShellEnvironment&) = delete;
    ShellEnvironment& operator=(const ShellEnvironment&) = delete;

    bool isValid() const { return m_root.isValid(); }
    // A folder of the test's own, for database files and backups.
    QString root() const { return m_root.path(); }
    QString dataHome() const;
    QString settingsFolder() const;
    // <data>/Zantoro/Zantoro.mdb of this environment (its folder exists).
    QString defaultDatabasePath() const;

    // How often End() was called.
    int endings() const;
    // The exit status End() was last called with; -1 when it was not called.
    int endStatus() const;

    // Opens dbStuff::DB and the two table recordsets on an existing file, as
    // start-up leaves them (DBPath, DBFolder, SortSQL set; no dialogs).
    void openDatabase(const QString& path);
    // Closes the frame and resets every dbStuff global.
    static void resetShell();

private:
    QTemporaryDir m_root;
    QByteArray m_oldDataHome;
    bool m_hadDataHome = false;
};
