#pragma once

#include "platform/Variant.h"

#include <QString>
#include <QStringList>

#include <memory>

struct Connection;
struct TableInfo;

// A recordset over a table (opened by table name) or over the rows of a query
// (forward-only). Field names are case-insensitive. Errors are VbError:
// 3021 no current record, 3167 the current record was deleted, 3163 a text too
// long for its field (raised by the assignment itself), 3421 a value that does
// not convert to the field's type, 3022 a duplicate key, 3314/3315 a required
// field left Null/empty, 3265 an unknown field, 3251 an operation the kind of
// recordset does not support, 3420 the database was closed.
class Recordset final
{
public:
    enum class Kind
    {
        Table,
        ForwardOnly
    };
    enum class EditMode
    {
        None,
        Edit,
        AddNew
    };

    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    Kind kind() const { return m_kind; }
    bool EOF_() const; // the name EOF is a C macro
    bool BOF() const;
    // Table: the number of rows in the table. Forward-only: the rows reached
    // so far (so 0 exactly when the result is empty).
    long RecordCount() const;
    void MoveFirst();
    void MoveNext();

    // The current row's field; Null-aware.
    Variant field(const QString& name) const;
    Variant operator[](const QString& name) const { return field(name); }
    QStringList fieldNames() const;
    // Field access by position, for loops over many rows: look the index up
    // once with fieldIndex (case-insensitive; 3265 when unknown).
    int fieldIndex(const QString& name) const;
    Variant field(int index) const;

    // Table recordsets only.
    void setIndex(const QString& indexName); // "PrimaryKey" (any case)
    QString index() const;
    // Seek "=" on the current index with one key (two for a two-field index).
    // Without a match there is no current record and NoMatch is true.
    void Seek(const QString& comparison, const Variant& key1, const Variant& key2 = Variant());
    bool NoMatch() const;

    void AddNew();
    void Edit();
    // Checks and keeps the value for Update. Raises 3163/3421/3265 here, so a
    // caller can shorten a text and assign again.
    void setField(const QString& name, const Variant& value);
    // Writes the pending AddNew/Edit; a new row gets its auto-number. On
    // failure the pending edit stays, so it can be mended or cancelled.
    void Update();
    void CancelUpdate();
    EditMode editMode() const;
    void Delete();

    // The bookmark of the row written last, and positioning on a bookmark.
    QByteArray LastModified() const;
    QByteArray Bookmark() const;
    void setBookmark(const QByteArray& bookmark);

private:
    friend class Database;
    struct Impl;
    static std::unique_ptr<Recordset> openTable(std::shared_ptr<Connection> conn,
                                                std::shared_ptr<TableInfo> table);
    static std::unique_ptr<Recordset> openQuery(std::shared_ptr<Connection> conn,
                                                const QString& sql);
    Recordset(Kind kind, std::unique_ptr<Impl> impl);

    Kind m_kind;
    std::unique_ptr<Impl> m_impl;
};
