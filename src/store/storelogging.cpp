#include "store/storelogging.h"

Q_LOGGING_CATEGORY(lcStore, "korvane.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHistory, "korvane.store.history", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTransfer, "korvane.store.transfer", QtWarningMsg)
