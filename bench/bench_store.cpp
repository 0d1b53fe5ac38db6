// Opening the store and listing the actions that fit a drop, over a store of 1,000 actions.
#include "benchutil.h"
#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "intake/droppayload.h"
#include "intake/transferdata.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    {
        ActionStore helper;
        for (int i = 0; i < 1000; ++i)
            helper.getNewDrop(i % 3 == 0 ? 0 : 1, i % 3 == 0 ? i % 10 : i % 18, i);
    }

    TransferData pasteboard;
    for (const char *name : {"/d/a.jpg", "/d/b.mov", "/d/c.txt"}) {
        TransferItem item;
        item.setData(TransferType::FileURL, QUrl::fromLocalFile(QString::fromLatin1(name)).toEncoded());
        pasteboard.addItem(item);
    }
    const DropPayload payload = DropPayload::classify(pasteboard);

    qsizetype found = 0;
    // A cold start: a new helper opens the file and loads every record.
    const double cold = medianMilliseconds(21, [&] {
        ActionStore helper;
        found = helper.dropsOffering(payload).size();
    });
    ActionStore helper;
    helper.getAllDrops();
    const double warm = medianMilliseconds(201, [&] { found = helper.dropsOffering(payload).size(); });
    std::printf("dropsOffering over 1,000 actions: median %.3f ms with the store open, %.3f ms opening it cold; "
                "target < 2 ms (%lld actions fit)\n",
                warm, cold, static_cast<long long>(found));
    return 0;
}
