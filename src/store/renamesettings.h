// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class RenameSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileRename"); }

    // The texts written into every new name. A "/" would make the name a path out of the
    // file's folder and a zero byte would cut it short, so neither is taken into one.
    static bool isNamePart(const QString &attribute)
    {
        return attribute == QLatin1String("relpaceSearchString") || attribute == QLatin1String("replaceResultString")
            || attribute == QLatin1String("addString") || attribute == QLatin1String("customizeString");
    }
    static QString namePartProblem(const QString &attribute, const QString &value)
    {
        if (!isNamePart(attribute) || (!value.contains(QLatin1Char('/')) && !value.contains(QChar(0))))
            return QString();
        return QStringLiteral("%1 is part of every new file name and cannot hold \"/\" or a zero byte").arg(attribute);
    }

    qint16 addPlaceType() const { return int16Value(QStringLiteral("addPlaceType")); }
    void setAddPlaceType(qint16 value) { setValue(QStringLiteral("addPlaceType"), value); }

    QString addString() const { return stringValue(QStringLiteral("addString")); }
    void setAddString(const QString &value) { setValue(QStringLiteral("addString"), value); }

    qint16 customizePlaceType() const { return int16Value(QStringLiteral("customizePlaceType")); }
    void setCustomizePlaceType(qint16 value) { setValue(QStringLiteral("customizePlaceType"), value); }

    QString customizeStartLetter() const { return stringValue(QStringLiteral("customizeStartLetter")); }
    void setCustomizeStartLetter(const QString &value) { setValue(QStringLiteral("customizeStartLetter"), value); }

    qint32 customizeStartNumber() const { return int32Value(QStringLiteral("customizeStartNumber")); }
    void setCustomizeStartNumber(qint32 value) { setValue(QStringLiteral("customizeStartNumber"), value); }

    QString customizeString() const { return stringValue(QStringLiteral("customizeString")); }
    void setCustomizeString(const QString &value) { setValue(QStringLiteral("customizeString"), value); }

    qint16 customizeType() const { return int16Value(QStringLiteral("customizeType")); }
    void setCustomizeType(qint16 value) { setValue(QStringLiteral("customizeType"), value); }

    bool needAdd() const { return boolValue(QStringLiteral("needAdd")); }
    void setNeedAdd(bool value) { setValue(QStringLiteral("needAdd"), value); }

    bool needCustomize() const { return boolValue(QStringLiteral("needCustomize")); }
    void setNeedCustomize(bool value) { setValue(QStringLiteral("needCustomize"), value); }

    bool needReplace() const { return boolValue(QStringLiteral("needReplace")); }
    void setNeedReplace(bool value) { setValue(QStringLiteral("needReplace"), value); }

    QString replaceSearchString() const { return stringValue(QStringLiteral("relpaceSearchString")); }
    void setReplaceSearchString(const QString &value) { setValue(QStringLiteral("relpaceSearchString"), value); }

    QString replaceResultString() const { return stringValue(QStringLiteral("replaceResultString")); }
    void setReplaceResultString(const QString &value) { setValue(QStringLiteral("replaceResultString"), value); }
};
