// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class CharacterCountSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextCharCount"); }

    bool countEnWord() const { return boolValue(QStringLiteral("countEnWord")); }
    void setCountEnWord(bool value) { setValue(QStringLiteral("countEnWord"), value); }

    bool countLetter() const { return boolValue(QStringLiteral("countLetter")); }
    void setCountLetter(bool value) { setValue(QStringLiteral("countLetter"), value); }

    bool countTotal() const { return boolValue(QStringLiteral("countTotal")); }
    void setCountTotal(bool value) { setValue(QStringLiteral("countTotal"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }
};
