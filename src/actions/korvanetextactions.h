#pragma once

#include "korvanecompletion.h"

#include <QString>

#include <memory>

class DropListEntity;

// The actions that work on the dropped text. Clear style, character count and the Chinese
// conversion finish when they return; the others report through their completion.
class KorvaneTextActions final
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;

    static void clearTextEntity(const DropPtr &drop);
    static void countTextEntity(const DropPtr &drop);
    static void customUrlTextEntity(const DropPtr &drop, const KorvaneCompletion &completion);
    static void engilshCaseConvert(const DropPtr &drop, const KorvaneCompletion &completion);
    static void traditionalConversionTextEntity(const DropPtr &drop);
    static void rmbTextEntity(const DropPtr &drop, const KorvaneCompletion &completion);
    static void airDropTextDropEntity(const DropPtr &drop, const KorvaneCompletion &completion);

    // Each word's first letter in upper (title) case and the rest in lower case, with the
    // full Unicode case mappings; words are separated by white space.
    static QString capitalizedString(const QString &text);
};
