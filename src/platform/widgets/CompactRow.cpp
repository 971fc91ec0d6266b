#include "platform/widgets/CompactRow.h"

#include <QStringList>

#include <cstring>

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

// Copies count characters stored in one encoding into another.
void copyStored(const char* from, bool fromWide, quint32 first, quint32 count, char* to,
                bool toWide, quint32 at)
{
    if (fromWide == toWide) {
        const size_t size = toWide ? 2 : 1;
        std::memcpy(to + at * size, from + first * size, count * size);
        return;
    }
    // Only narrow to wide: a wide row never narrows while it holds text.
    auto* out = reinterpret_cast<char16_t*>(to) + at;
    const auto* in = reinterpret_cast<const unsigned char*>(from) + first;
    for (quint32 i = 0; i < count; ++i)
        out[i] = in[i];
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

void CompactRow::setText(int col, int cols, QStringView text)
{
    const quint32* old = m_block.get();
    if (!old && text.isEmpty())
        return;
    const quint32 oldLength = old ? old[col + 1] - beginOf(old, col) : 0;
    const quint32 oldTotal = old ? old[cols] : 0;
    const quint32 total = oldTotal - oldLength + quint32(text.size());
    if (total == 0) {
        m_block.reset();
        return;
    }
    const bool oldWide = old && (old[0] & Wide);
    const bool wide = oldWide || !isLatin1(text);
    const size_t bytes = size_t(cols + 1) * sizeof(quint32) + size_t(total) * (wide ? 2 : 1);
    std::unique_ptr<quint32[]> block(new quint32[(bytes + 3) / 4]);
    block[0] = wide ? Wide : 0;
    char* to = characters(block.get(), cols);
    quint32 at = 0;
    for (int c = 0; c < cols; ++c) {
        if (c == col) {
            copyText(text, to, wide, at);
            at += quint32(text.size());
        } else if (old) {
            const quint32 begin = beginOf(old, c);
            const quint32 length = old[c + 1] - begin;
            copyStored(characters(old, cols), oldWide, begin, length, to, wide, at);
            at += length;
        }
        block[c + 1] = at;
    }
    m_block = std::move(block);
}

void CompactRow::resize(int oldCols, int newCols)
{
    if (!m_block || oldCols == newCols)
        return;
    const int kept = std::min(oldCols, newCols);
    QStringList texts;
    texts.reserve(kept);
    for (int c = 0; c < kept; ++c)
        texts.append(text(c, oldCols));
    m_block.reset();
    for (int c = 0; c < kept; ++c)
        setText(c, newCols, texts.at(c));
}
