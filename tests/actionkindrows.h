#pragma once

#include <QTest>

// Data rows "catalog" and "type" for every kind of action: the ten text kinds and the
// eighteen file kinds.
inline void addActionKindRows()
{
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("type");
    for (int type = 0; type < 10; ++type)
        QTest::addRow("text %d", type) << 0 << type;
    for (int type = 0; type < 18; ++type)
        QTest::addRow("files %d", type) << 1 << type;
}
