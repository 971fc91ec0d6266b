#include "shell/UndoCommands.h"

#include "data/History.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QWindow>

#include <vector>

namespace {

// The newest step made before this run; Undo reaches the steps after it.
qint64 s_runStart = 0;

struct Guard
{
    QPointer<QObject> owner;
    std::function<bool()> mayRewrite;
};

std::vector<Guard>& guards()
{
    static std::vector<Guard> list;
    return list;
}

const QList<QKeySequence> UndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> RedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)};

bool isKeyOf(const QKeyEvent& key, const QList<QKeySequence>& sequences)
{
    const QKeySequence pressed(key.keyCombination());
    for (const QKeySequence& s : sequences)
        if (s == pressed)
            return true;
    return false;
}

} // namespace

namespace dbStuff {

void StartUndoRun()
{
    s_runStart = DB ? History(*DB).lastStepId() : 0;
}

void AddUndoGuard(QObject* owner, std::function<bool()> mayRewrite)
{
    guards().push_back({owner, std::move(mayRewrite)});
}

bool WindowsAllowRewrite()
{
    auto& list = guards();
    std::erase_if(list, [](const Guard& g) { return !g.owner; });
    // A check may show a question; copy, so a window closed meanwhile is safe.
    const std::vector<Guard> now = list;
    for (const Guard& g : now)
        if (g.owner && !g.mayRewrite())
            return false;
    return true;
}

} // namespace dbStuff

UndoCommands::UndoCommands(QMenu* menu, QObject* parent) : QObject(parent)
{
    m_undo = menu->addAction(QStringLiteral("&Undo"));
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_undo->setShortcuts(UndoKeys);
    m_redo = menu->addAction(QStringLiteral("&Redo"));
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    m_redo->setShortcuts(RedoKeys);
    connect(m_undo, &QAction::triggered, this, [this] { dbStuff::RunHandler([this] { undo(); }); });
    connect(m_redo, &QAction::triggered, this, [this] { dbStuff::RunHandler([this] { redo(); }); });
    connect(menu, &QMenu::aboutToShow, this,
            [this] { dbStuff::RunHandler([this] { refresh(); }); });
    qApp->installEventFilter(this);
    dbStuff::RunHandler([this] { refresh(); });
}

void UndoCommands::refresh()
{
    m_nextUndo = 0;
    m_nextRedo = 0;
    QString undoCaption;
    QString redoCaption;
    if (dbStuff::DB && dbStuff::DB->isOpen()) {
        const History::UndoState state = History(*dbStuff::DB).undoState(s_runStart);
        if (!state.undo.empty()) {
            m_nextUndo = state.undo.back().id;
            undoCaption = state.undo.back().caption;
        }
        if (!state.redo.empty()) {
            m_nextRedo = state.redo.back().id;
            redoCaption = state.redo.back().undoneCaption;
        }
    }
    auto show = [](QAction* action, const QString& verb, qint64 step, const QString& caption) {
        action->setEnabled(step != 0);
        // "&" in a caption is text, not an access key.
        QString escaped = caption;
        escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
        action->setText(step ? verb + QLatin1Char(' ') + escaped : verb);
    };
    show(m_undo, QStringLiteral("&Undo"), m_nextUndo, undoCaption);
    show(m_redo, QStringLiteral("&Redo"), m_nextRedo, redoCaption);
}

void UndoCommands::undo()
{
    refresh();
    if (!m_nextUndo || !dbStuff::WindowsAllowRewrite())
        return;
    History(*dbStuff::DB).undo(m_nextUndo);
    refresh();
    emit dbStuff::Notifier::instance().rowsRewritten();
}

void UndoCommands::redo()
{
    refresh();
    if (!m_nextRedo || !dbStuff::WindowsAllowRewrite())
        return;
    History(*dbStuff::DB).redo(m_nextRedo);
    refresh();
    emit dbStuff::Notifier::instance().rowsRewritten();
}

bool UndoCommands::eventFilter(QObject* watched, QEvent* event)
{
    // The override comes before the shortcut is looked up, so an entry enabled
    // here takes the key at once.
    if (event->type() == QEvent::ShortcutOverride) {
        // Sent to the focus widget and on to its parents: looked at once.
        const QObject* first = QApplication::focusWidget();
        if (!first)
            first = QGuiApplication::focusWindow();
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == first && (isKeyOf(*key, UndoKeys) || isKeyOf(*key, RedoKeys)))
            dbStuff::RunHandler([this] { refresh(); });
    }
    return QObject::eventFilter(watched, event);
}
