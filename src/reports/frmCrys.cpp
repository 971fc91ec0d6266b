#include "reports/frmCrys.h"

#include "platform/Settings.h"
#include "reports/ReportWindow.h"
#include "shell/dbStuff.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

frmCrys::frmCrys(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCrys"));
    setWindowTitle(AppTitle);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Report1.setObjectName(QStringLiteral("Report1"));
    // Large enough to read a page across: most of the screen's height, a page
    // and a half of width.
    QSize size(900, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        size = size.boundedTo(QSize(available.width() * 9 / 10, available.height() * 9 / 10));
    }
    resize(size);
}

frmCrys::~frmCrys() = default;

void frmCrys::Form_Activate()
{
    if (m_showing && m_shownFile == Report1.ReportFile && Report1.window())
        return;
    Report1.ParentWindow = this;
    Report1.WindowTitle = AppTitle;
    Report1.WindowToolbar = true;
    ++m_runs;
    Report1.RunReport();
    m_shownFile = Report1.ReportFile;
    m_showing = true;
    unsetCursor();
}

bool frmCrys::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        dbStuff::RunHandler([this] { Form_Activate(); });
    return handled;
}

void frmCrys::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window that is shown becomes the active one, but not every platform
    // says so (a window manager may keep the focus elsewhere); the report
    // runs anyway, once the window is on screen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            dbStuff::RunHandler([this] { Form_Activate(); });
    });
}

void frmCrys::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // The pages of a large report are not kept while the window is closed.
    Report1.CloseWindow();
    m_shownFile.clear();
    m_showing = false;
}
