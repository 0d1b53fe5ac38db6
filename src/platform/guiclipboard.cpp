#include "guiclipboard.h"

#include "mimedatapasteboard.h"

#include <QClipboard>
#include <QGuiApplication>

KorvanePasteboard GuiClipboard::pasteboard() const
{
    return MimeDataPasteboard::fromMimeData(QGuiApplication::clipboard()->mimeData());
}

void GuiClipboard::writeText(const QString &text)
{
    QGuiApplication::clipboard()->setMimeData(MimeDataPasteboard::mimeDataForText(text));
}

void GuiClipboard::writeImageData(const QByteArray &data, const QString &mimeType)
{
    QGuiApplication::clipboard()->setMimeData(MimeDataPasteboard::mimeDataForImage(data, mimeType));
}

void GuiClipboard::writeObjects(const QVariantList &objects)
{
    QGuiApplication::clipboard()->setMimeData(MimeDataPasteboard::mimeDataForObjects(objects));
}
