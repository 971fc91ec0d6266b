#pragma once

#include <QString>

#include <memory>

// The texts of one grid row in one heap block, so that a sheet of 300,000 rows
// costs a pointer and one small allocation a row instead of a string object a
// cell. The block starts with a word of flags and the end offset (in
// characters) of every column's text, then holds the characters back to back:
// one byte each while every character of the row is Latin-1, UTF-16 otherwise.
// A row whose texts are all empty holds no block. Rows are packed whole: the
// grid model keeps the row being written unpacked (FlexGridModel::openRow).
//
// The column count belongs to the owner (the grid model) and is passed to every
// call; a row never stores it. Columns are 0..cols-1.
class CompactRow final
{
public:
    QString text(int col, int cols) const;
    // Replaces every text at once: texts[0..cols-1].
    void assign(const QString* texts, int cols);
    // Keeps the texts of the first min(oldCols, newCols) columns.
    void resize(int oldCols, int newCols);
    void clear() { m_block.reset(); }
    bool isEmpty() const { return !m_block; }

private:
    std::unique_ptr<quint32[]> m_block;
};
