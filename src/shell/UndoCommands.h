#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace dbStuff {

// Marks every step already in the open file as made before this run: Undo
// reaches only the steps made after it. Called when a file is opened for a run
// (start-up) and when a restore put another file in its place; the backup's
// reopening of the same file keeps the run going.
void StartUndoRun();

// A check a window makes before an undo or redo rewrites rows it shows (the
// sheet drops an edit in progress and asks about rows not stored); false stops
// the undo with nothing changed. The check goes when owner is destroyed.
void AddUndoGuard(QObject* owner, std::function<bool()> mayRewrite);

// Runs the checks of AddUndoGuard; for anything else that rewrites rows the
// windows show (a restore from the history). False: change nothing.
bool WindowsAllowRewrite();

} // namespace dbStuff

// The Undo and Redo entries of the frame's Edit menu. They work on the steps of
// this run, whatever window made them, newest first; each undo or redo is a
// step of its own in the file. Captions name the step ("Undo change of amount
// in row 12"); an entry is disabled when there is nothing to take. After an
// undo or redo every open window follows Notifier::rowsRewritten.
class UndoCommands final : public QObject
{
    Q_OBJECT

public:
    // Adds the two entries to menu; parent owns this.
    UndoCommands(QMenu* menu, QObject* parent);

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

    // Reads from the file what undo and redo take next, into the entries'
    // captions and enabled states.
    void refresh();
    void undo();
    void redo();

protected:
    // The keys of the entries find them up to date: steps are made by every
    // window without telling the frame.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    qint64 m_nextUndo = 0; // the step Undo takes; 0 when none
    qint64 m_nextRedo = 0; // the undo step Redo takes back; 0 when none
};
