// The import of an action file into the real store: a file is imported whole or refused
// with a reason, a refused one leaves the store exactly as it was,
// and what the store exports imports again.

#include "fuzzsupport.h"
#include "store/actiontransfer.h"
#include "store/actionstore.h"

namespace {

QByteArray &defaultActions()
{
    static QByteArray exported;
    return exported;
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::start<QCoreApplication>([] {
        ActionStore *store = ActionStore::instance();
        FuzzSupport::require(store->openStore(), "the store opens");
        store->initializationDefaultData();
        defaultActions() = ActionTransfer(store).exportActions(true);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input(data, size);
    const bool replace = input.byte() & 1;
    const QByteArray json = input.rest();

    ActionStore *store = ActionStore::instance();
    ActionTransfer transfer(store);
    const QByteArray before = transfer.exportActions(true);
    QString error;
    if (!transfer.importActions(json, replace, &error)) {
        FuzzSupport::require(!error.isEmpty(), "a refusal says why");
        FuzzSupport::require(transfer.exportActions(true) == before, "a refused file leaves the store as it was");
        return 0;
    }
    FuzzSupport::require(error.isEmpty(), "an import without a refusal has no error");
    // Back to the default actions, so that imports do not pile up run after run.
    FuzzSupport::require(transfer.importActions(defaultActions(), true, &error), "an exported file imports again");
    FuzzSupport::require(transfer.exportActions(true) == defaultActions(), "an export imported in place gives the same export");
    return 0;
}
