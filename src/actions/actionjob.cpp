#include "actions/actionjob.h"

ActionJob::ActionJob(QObject *parent)
    : QObject(parent)
{
}
