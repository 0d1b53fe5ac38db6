#pragma once

#include "platform/clipboard.h"

// The desktop's CLIPBOARD selection through QClipboard.
class GuiClipboard final : public Clipboard
{
public:
    TransferData pasteboard() const override;
    void writeText(const QString &text) override;
    void writeImageData(const QByteArray &data, const QString &mimeType) override;
    void writeObjects(const QVariantList &objects) override;
};
