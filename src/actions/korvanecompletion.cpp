#include "korvanecompletion.h"

#include <QCoreApplication>
#include <QMetaObject>

void finishOnMain(const KorvaneCompletion &completion, bool success, const KorvaneError &error)
{
    if (!completion)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [completion, success, error] { completion(success, error); }, Qt::QueuedConnection);
}
