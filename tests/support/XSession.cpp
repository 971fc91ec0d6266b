#include "support/XSession.h"

#include "platform/widgets/FlexGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xsession {

namespace {

// How long xdotool may take for one call before the test gives up on it.
constexpr int ToolTimeoutMs = 120000;

// A private Xvfb for the life of the object. It dies with the test process
// even when that crashes (parent-death signal).
class XServer final
{
public:
    ~XServer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // Starts the server and returns its display name (":N"), or an empty
    // string with the reason in why.
    QByteArray start(QString& why)
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) {
            why = QStringLiteral("Xvfb is not installed");
            return {};
        }
        int fds[2];
        if (::pipe(fds) != 0) {
            why = QStringLiteral("no pipe for Xvfb");
            return {};
        }
        const QByteArray program = xvfb.toLocal8Bit();
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::close(fds[0]);
            // The server writes its display number to fd 3 once it listens.
            ::dup2(fds[1], 3);
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            ::execl(program.constData(), "Xvfb", "-displayfd", "3", "-screen", "0", "1280x800x24",
                    "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        QByteArray number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 15000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.isEmpty()) {
            why = QStringLiteral("Xvfb did not start");
            return {};
        }
        return ':' + number;
    }

private:
    pid_t m_pid = -1;
};

// Runs xdotool with the arguments while the program goes on handling events,
// then waits for what it sent to be handled.
void xdotool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    if (!tool.waitForStarted())
        qFatal("xdotool did not start");
    QElapsedTimer clock;
    clock.start();
    while (tool.state() != QProcess::NotRunning) {
        if (clock.elapsed() > ToolTimeoutMs)
            qFatal("xdotool did not finish");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        qFatal("xdotool failed: %s", tool.readAllStandardError().constData());
    settle();
}

// The X name of the key that types a character.
QString keyName(QChar c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return QString(c);
    static const QHash<QChar, QString> names = {
        {u'\n', QStringLiteral("Return")},     {u'\t', QStringLiteral("Tab")},
        {u' ', QStringLiteral("space")},       {u'.', QStringLiteral("period")},
        {u',', QStringLiteral("comma")},       {u'-', QStringLiteral("minus")},
        {u'/', QStringLiteral("slash")},       {u':', QStringLiteral("colon")},
        {u'\'', QStringLiteral("apostrophe")}, {u'&', QStringLiteral("ampersand")},
        {u'(', QStringLiteral("parenleft")},   {u')', QStringLiteral("parenright")},
    };
    return names.value(c);
}

} // namespace

int runUnderX(int argc, char** argv, QObject* (*makeTest)())
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        std::fprintf(stderr, "SKIP: xdotool is not installed\n");
        return SkipCode;
    }
    XServer server;
    QString why;
    const QByteArray display = server.start(why);
    if (display.isEmpty()) {
        std::fprintf(stderr, "SKIP: %s\n", qPrintable(why));
        return SkipCode;
    }
    qputenv("DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    std::unique_ptr<QObject> test(makeTest());
    return QTest::qExec(test.get(), argc, argv);
}

void type(const QString& text, int delayMs)
{
    // Sent as a list of keys in one call, so that Enter and Tab come in the
    // same stream as the characters, with the same pause between all of them.
    QStringList names;
    for (QChar c : text) {
        const QString name = keyName(c);
        if (name.isEmpty())
            qFatal("no X key name for the character %s", qPrintable(QString(c)));
        names << name;
    }
    keys(names, delayMs);
}

void keys(const QStringList& names, int delayMs)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs),
                        QStringLiteral("--")} +
            names);
}

void click(QWidget* widget, QPoint local)
{
    const QPoint at = widget->mapToGlobal(local);
    // "--sync" waits for the pointer to arrive, and for a pointer already
    // there it waits out xdotool's own timeout (about 20 s): then click only.
    QStringList args{QStringLiteral("mousemove")};
    if (QCursor::pos() != at)
        args << QStringLiteral("--sync");
    xdotool(args + QStringList{QString::number(at.x()), QString::number(at.y()),
                               QStringLiteral("click"), QStringLiteral("1")});
}

void clickCell(FlexGrid& grid, int row, int col)
{
    grid.scrollTo(grid.model()->index(row - 1, col - 1));
    settle();
    click(&grid, grid.cellRect(row, col).center());
}

void settle()
{
    // Twice: a handled key may post events of its own (focus changes, posted
    // characters) that need another round after the server is synced.
    for (int i = 0; i < 2; ++i) {
        QGuiApplication::sync();
        QTest::qWait(30);
    }
}

} // namespace xsession
