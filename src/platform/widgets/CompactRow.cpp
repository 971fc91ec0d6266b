#include "platform/widgets/CompactRow.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr quint32 Wide = 1; // flag: characters are stored as UTF-16

bool isLatin1(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// Where the characters start: behind the flags word and the cols end offsets.
char* characters(quint32* block, int cols)
{
    return reinterpret_cast<char*>(block + cols + 1);
}

const char* characters(const quint32* block, int cols)
{
    return reinterpret_cast<const char*>(block + cols + 1);
}

quint32 beginOf(const quint32* block, int col)
{
    return col == 0 ? 0 : block[col];
}

void copyText(QStringView text, char* to, bool toWide, quint32 at)
{
    if (toWide) {
        std::memcpy(to + at * 2, text.utf16(), size_t(text.size()) * 2);
        return;
    }
    char* out = to + at;
    for (QChar c : text)
        *out++ = char(c.unicode());
}

} // namespace

QString CompactRow::text(int col, int cols) const
{
    if (!m_block)
        return {};
    const quint32* block = m_block.get();
    const quint32 begin = beginOf(block, col);
    const qsizetype length = qsizetype(block[col + 1] - begin);
    if (length == 0)
        return {};
    const char* chars = characters(block, cols);
    if (block[0] & Wide)
        return QString(reinterpret_cast<const QChar*>(chars) + begin, length);
    return QString::fromLatin1(chars + begin, length);
}

void CompactRow::assign(const QString* texts, int cols)
{
    quint32 total = 0;
    bool wide = false;
    for (int c = 0; c < cols; ++c) {
        total += quint32(texts[c].size());
        wide = wide || !isLatin1(texts[c]);
    }
    if (total == 0) {
        m_block.reset();
        return;
    }
    const size_t bytes = size_t(cols + 1) * sizeof(quint32) + size_t(total) * (wide ? 2 : 1);
    std::unique_ptr<quint32[]> block(new quint32[(bytes + 3) / 4]);
    block[0] = wide ? Wide : 0;
    char* to = characters(block.get(), cols);
    quint32 at = 0;
    for (int c = 0; c < cols; ++c) {
        copyText(texts[c], to, wide, at);
        at += quint32(texts[c].size());
        block[c + 1] = at;
    }
    m_block = std::move(block);
}

void CompactRow::resize(int oldCols, int newCols)
{
    if (!m_block || oldCols == newCols)
        return;
    std::vector<QString> texts(static_cast<size_t>(newCols));
    for (int c = 0; c < std::min(oldCols, newCols); ++c)
        texts[size_t(c)] = text(c, oldCols);
    assign(texts.data(), newCols);
}
