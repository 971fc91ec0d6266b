#pragma once

// Typing as a person does, through a real X server: a private Xvfb started for
// the test process, and xdotool sending key and pointer events through the
// XTEST extension, so they reach the program the way a keyboard's do (queued in
// the X connection while the program is busy, read in bursts).
//
// A test executable of tests/xkeys uses XKEYS_MAIN(TestClass) instead of
// QTEST_MAIN: it starts the display before the application object, runs the
// tests on the xcb platform, and exits with XSession::SkipCode when no display
// can be started (no Xvfb or no xdotool), which CTest reports as skipped.

#include <QPoint>
#include <QString>
#include <QStringList>

class FlexGrid;
class QObject;
class QWidget;

namespace xsession {

// The exit code CTest is told means "skipped".
inline constexpr int SkipCode = 77;

// Starts Xvfb on a free display, points DISPLAY at it, runs the test object on
// the xcb platform and stops the server again. Returns the test's exit code,
// or SkipCode (with the reason on stderr) when no display could be had.
int runUnderX(int argc, char** argv, QObject* (*makeTest)());

// Types text with the given pause between keys, in milliseconds (0 sends the
// keys back to back), to the window that has the X input focus; "\n" is sent
// as the Enter key, "\t" as Tab. Returns once
// xdotool has sent every key and the program has handled them.
void type(const QString& text, int delayMs = 40);
// Presses keys by their X names ("Return", "Tab", "shift+Tab", "Down").
void keys(const QStringList& names, int delayMs = 40);
// A left click with the real pointer at a point of a widget.
void click(QWidget* widget, QPoint local);
// A left click on the centre of a grid cell, scrolled into view first.
void clickCell(FlexGrid& grid, int row, int col);
// Waits until the events the X server holds for the program are handled.
void settle();

} // namespace xsession

#define XKEYS_MAIN(TestClass)                                                                      \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        return xsession::runUnderX(argc, argv, []() -> QObject* { return new TestClass; });        \
    }
