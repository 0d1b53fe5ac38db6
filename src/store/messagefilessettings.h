// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class MessageFilesSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileMsg"); }

    QString recipients() const { return stringValue(QStringLiteral("receives")); }
    void setRecipients(const QString &value) { setValue(QStringLiteral("receives"), value); }

    QString title() const { return stringValue(QStringLiteral("title")); }
    void setTitle(const QString &value) { setValue(QStringLiteral("title"), value); }
};
