// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class AddToPhotosSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("ImageToPhoto"); }

    bool needLaunch() const { return boolValue(QStringLiteral("needLaunch")); }
    void setNeedLaunch(bool value) { setValue(QStringLiteral("needLaunch"), value); }
};
