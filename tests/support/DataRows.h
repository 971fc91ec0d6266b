#pragma once

// One row of a data-driven test on one line: string literals go in as
// QString, the type the test's QFETCH reads; other values as they are.

#include <QString>
#include <QTest>

namespace datarows {

inline QString cell(const char* text)
{
    return QString::fromUtf8(text);
}

template <typename T> const T& cell(const T& value)
{
    return value;
}

template <typename... Values> void row(const char* name, const Values&... values)
{
    QTestData& data = QTest::newRow(name);
    ((data << cell(values)), ...);
}

} // namespace datarows
