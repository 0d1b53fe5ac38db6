#pragma once

#include "intake/transferdata.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// The general pasteboard: read for classification, written with action results.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual TransferData pasteboard() const = 0;
    // Each write replaces the whole contents.
    virtual void writeText(const QString &text) = 0;
    virtual void writeImageData(const QByteArray &data, const QString &mimeType) = 0;
    // Objects in order: QUrl items and QImage items.
    virtual void writeObjects(const QVariantList &objects) = 0;
};
