#include "platform/widgets/Screen.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

int& widthOverride()
{
    static int width = 0;
    return width;
}

int& currentPointer()
{
    static int pointer = vbDefault;
    return pointer;
}

std::function<void(ExitStatus)>& endHandler()
{
    static std::function<void(ExitStatus)> handler;
    return handler;
}

} // namespace

namespace Screen {

int widthPixels()
{
    if (widthOverride() > 0)
        return widthOverride();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() : 0;
}

void setWidthPixelsForTesting(int width)
{
    widthOverride() = width;
}

void setMousePointer(int pointer)
{
    const int shown = pointer == vbHourglass ? vbHourglass : vbDefault;
    if (shown == currentPointer())
        return;
    currentPointer() = shown;
    if (shown == vbHourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

int mousePointer()
{
    return currentPointer();
}

} // namespace Screen

void DoEvents()
{
    QCoreApplication::processEvents();
}

void End(ExitStatus status)
{
    if (endHandler())
        endHandler()(status);
    // Settings are written through at once and the database lock dies with the
    // process, so nothing is lost by leaving without unwinding.
    std::fflush(nullptr);
    std::_Exit(int(status));
}

void setEndHandler(std::function<void(ExitStatus)> handler)
{
    endHandler() = std::move(handler);
}
