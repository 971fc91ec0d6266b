#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class Database;
struct Connection;

// One user action in the file's change history. While a HistoryStep is alive
// every row the program inserts, updates or deletes on its connection (a
// cascade included) is recorded under that step, and all of it is one SQLite
// transaction: it is stored whole when the outermost scope ends normally and
// not at all when that scope ends by an exception. A scope made while another
// is open on the same connection joins it (the outer caption stands). A step
// that changed nothing leaves no trace. Single-threaded, as Database.
class HistoryStep final
{
public:
    // caption: what the Edit menu names after "Undo ", e.g. "change of amount
    // in row 12".
    HistoryStep(Database& db, const QString& caption);
    ~HistoryStep() noexcept(false);
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;

    // The step's id in HistorySteps (shared with the outer scope when joined).
    qint64 id() const;
    bool joined() const { return m_joined; }

private:
    friend class History;
    struct Link
    {
        qint64 undoOf = 0;
        qint64 redoOf = 0;
    };
    HistoryStep(std::shared_ptr<Connection> conn, const QString& caption, Link link);
    void finish(bool keep);

    std::shared_ptr<Connection> m_conn;
    bool m_joined = false;
    int m_exceptions = 0;
};

// Reading the change history, and undoing and redoing steps. Holds a reference
// to an open Database, like Ledger. Failures are VbError: 3021 an unknown step,
// 3167 a row a step changed that is gone now, 3022 an id a deleted row had that
// is taken now, 3197 a row changed since the step (by a later step not undone,
// or outside the program), 5 an undo or redo asked for inside an open step.
class History final
{
public:
    enum class Action
    {
        Insert,
        Update,
        Delete
    };

    // Table names as History.TableName holds them.
    static constexpr const char* Transactions = "Transactions";
    static constexpr const char* Categories = "Categories";
    static constexpr const char* Businesses = "Businesses";
    static constexpr const char* Allocations = "relCat_Bis";

    struct Step
    {
        qint64 id = 0;
        QDateTime startedAt; // UTC
        QString caption;
        qint64 undoOf = 0; // the step this one undid; 0 when none
        qint64 redoOf = 0; // the step this one redid; 0 when none
        // For an undo step: the caption of the step it undid ("Redo " + this).
        QString undoneCaption;
    };

    struct Change
    {
        qint64 id = 0;
        qint64 stepId = 0;   // 0: made outside the program (no step)
        QDateTime changedAt; // UTC, to the millisecond
        QString table;       // one of the names above
        qint64 rowKey = 0;   // the row's id (rowid for relCat_Bis)
        Action action = Action::Insert;
        QJsonObject oldValues; // every column before; empty on insert
        QJsonObject newValues; // every column after; empty on delete
    };

    // What undo and redo can take next, from the steps made after a given one
    // (the last step before this run started, say). Oldest first: back() is
    // next. undo holds ordinary and redo steps, redo holds undo steps; an
    // ordinary step made after an undo empties redo.
    struct UndoState
    {
        std::vector<Step> undo;
        std::vector<Step> redo;
    };

    // What undo or redo did: the new step (0 when there was nothing to do) and
    // the tables it changed rows of.
    struct Applied
    {
        qint64 stepId = 0;
        QStringList tables;
    };

    explicit History(Database& db);

    // The newest step's id; 0 when there is none.
    qint64 lastStepId();
    // The step of that id; nullopt when there is none.
    std::optional<Step> step(qint64 id);
    // The steps after afterStepId, oldest first.
    QList<Step> steps(qint64 afterStepId = 0);
    // The changes of one step, in the order they were made.
    QList<Change> stepChanges(qint64 stepId);
    // The changes of one row (table as above), oldest first.
    QList<Change> rowChanges(const QString& table, qint64 rowKey);
    // The changes of the rows fromKey..toKey of a table, oldest first.
    QList<Change> rangeChanges(const QString& table, qint64 fromKey, qint64 toKey);
    // The changes made in [fromUtc, toUtc), oldest first; an empty table means
    // every table, no action every action.
    QList<Change> periodChanges(const QDateTime& fromUtc, const QDateTime& toUtc,
                                const QString& table = QString(),
                                std::optional<Action> action = std::nullopt);

    UndoState undoState(qint64 afterStepId);

    // Reverses the step's changes, newest first, as a new step "undo of
    // <caption>" with UndoOf set: deleted rows come back with their original
    // ids, inserted ones go, updated ones get their old values. Checks each row
    // first (see the errors above); nothing is written when it raises.
    Applied undo(qint64 stepId);
    // Takes an undo step and does again what the step it undid did, as a new
    // step with that step's caption and RedoOf set to it.
    Applied redo(qint64 undoStepId);

    // Puts back the row a recorded delete (historyId) took, as a step of its
    // own with that caption: under its original id when that is free, else
    // under a new one. Returns the row's id. 3001 when the change is not a
    // delete, 3021 when there is no such change, 3022 when an equal
    // allocation exists, 3201 when the row's business or category is gone.
    qint64 restoreDeleted(qint64 historyId, const QString& caption);

private:
    Applied reverse(qint64 stepId, const QString& caption, HistoryStep::Link link);
    std::shared_ptr<Connection> m_conn;
};
