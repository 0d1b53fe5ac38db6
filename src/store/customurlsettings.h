// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

#include "store/customurl.h"

#include <QList>

#include <memory>

class CustomUrlSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextCustomUrl"); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    // The URL templates, ordered by creation time.
    QList<std::shared_ptr<CustomUrl>> urls() const;
    void addUrlsObject(const std::shared_ptr<CustomUrl> &url);
    void removeUrlsObject(const std::shared_ptr<CustomUrl> &url);
};
