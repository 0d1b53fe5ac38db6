#pragma once

#include "intake/actioncatalog.h"

#include <QTest>

// Data rows "catalog" and "type" for every kind of action, named as the command line names it.
inline void addActionKindRows()
{
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("type");
    for (const ActionCatalog::Entry &kind : ActionCatalog::entries())
        QTest::addRow("%s", kind.name) << int(kind.catalog) << kind.type;
}
