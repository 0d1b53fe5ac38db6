#pragma once

#include "store/storedrecord.h"

// One URL template of a custom-URL action; "{text}" stands for the dropped text.
class CustomUrl final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("CustomUrl"); }

    // Seconds since 1970, whole seconds.
    double createTime() const { return doubleValue(QStringLiteral("createTime")); }
    void setCreateTime(double value) { setValue(QStringLiteral("createTime"), value); }
    QString url() const { return stringValue(QStringLiteral("url")); }
    void setUrl(const QString &value) { setValue(QStringLiteral("url"), value); }
};
