#include "support/actionkindrows.h"

#include "intake/actioncatalog.h"

#include <QTest>

namespace KorvaneTest {

void addActionKindRows()
{
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("type");
    for (const ActionCatalog::Entry &kind : ActionCatalog::entries())
        QTest::addRow("%s", kind.name) << int(kind.catalog) << kind.type;
}

} // namespace KorvaneTest
