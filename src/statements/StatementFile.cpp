#include "statements/StatementReaders.h"

#include <QFile>

QString StatementError::message() const
{
    return m_line > 0 ? QStringLiteral("line %1: %2").arg(m_line).arg(m_reason) : m_reason;
}

namespace StatementReaders {

Format detect(const QByteArray& content)
{
    const QByteArray head = content.left(4096);
    if (head.contains("BkToCstmrStmt") || head.contains("camt.053")) {
        return Format::Camt053;
    }
    if (head.contains("OFXHEADER") || head.contains("<OFX>") || head.contains("<?OFX")) {
        return Format::Ofx;
    }
    const QByteArray trimmed = head.trimmed();
    if (trimmed.startsWith(":20:") || trimmed.startsWith("{1:") || head.contains("\n:20:") ||
        head.contains("\n:61:")) {
        return Format::Mt940;
    }
    if (trimmed.startsWith("<")) {
        return Format::Camt053; // XML of another kind: the reader says what it is
    }
    return Format::Csv;
}

Statement readFile(const QString& path, const CsvMapping& mapping)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw StatementError(0,
                             QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    }
    const QByteArray content = file.readAll();
    switch (detect(content)) {
    case Format::Camt053:
        return readCamt053(content);
    case Format::Mt940:
        return readMt940(content);
    case Format::Ofx:
        return readOfx(path);
    case Format::Csv:
        break;
    }
    return readCsv(content, mapping);
}

} // namespace StatementReaders
