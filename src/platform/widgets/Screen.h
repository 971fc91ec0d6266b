#pragma once

#include <functional>

// The screen, the mouse pointer, pending events and ending the program: the
// few places where start-up and the backup touch the desktop directly. Tests
// replace what would otherwise depend on the machine or end the test process.

// Mouse pointer shapes, as numbered by the program.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

namespace Screen {
// The width of the primary screen in pixels (the screen width in twips over the
// twips per pixel across, which is the logical pixel width).
int widthPixels();
// Makes widthPixels answer this width (tests); 0 goes back to the real screen.
void setWidthPixelsForTesting(int width);

// The pointer shown over every window of the program: vbHourglass or vbDefault.
void setMousePointer(int pointer);
int mousePointer();
} // namespace Screen

// Lets pending window events run once.
void DoEvents();

// The process's exit status, so that a script can tell how the program ended.
enum class ExitStatus
{
    Normal = 0,           // the user closed the program
    StartupFailed = 1,    // start-up ended on an error: no usable database
    StartupCancelled = 2, // the user ended start-up (a cancelled dialog or question)
};

// Ends the program at once with the status: no window is asked, nothing is
// unloaded; open files are released by the operating system. A test installs
// a handler that records the ending and throws to unwind to the test; a
// handler that returns ends the process anyway.
[[noreturn]] void End(ExitStatus status);
void setEndHandler(std::function<void(ExitStatus)> handler);
