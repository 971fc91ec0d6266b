#pragma once

#include <QString>

// The texts of the Help menu. The two guides are HTML for a text browser; the
// about text is plain, lines separated by "\r" as the message boxes take them.
namespace HelpTexts {

QString gettingStarted();
// Every key the sheet's grid and its cell editors act on.
QString keyboard();
// Version of this build, the open database (databasePath, empty when none),
// the Qt and SQLite libraries the program runs with, and the licence.
QString about(const QString& databasePath);

} // namespace HelpTexts
