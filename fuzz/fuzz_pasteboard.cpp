// What a drag or the clipboard offers, in any formats with any bytes, read as Korvane reads
// it: into pasteboard items and then into the one record of the handed-over data.
//
// The input is a list of formats, each a selector byte (one of the formats below, or a name
// read from the input), a two-byte length and that many bytes of data.

#include "fuzzsupport.h"
#include "intake/droppayload.h"
#include "intake/transferdata.h"
#include "platform/qt/mimedataconverter.h"

#include <QGuiApplication>
#include <QMimeData>

#include <iterator>
#include <memory>

namespace {

// What file managers, browsers, editors and image programs put on the X11 and Wayland
// clipboards and into drags.
const char *const formats[] = {
    "text/uri-list",
    "text/plain",
    "text/plain;charset=utf-8",
    "UTF8_STRING",
    "TEXT",
    "image/png",
    "image/tiff",
    "image/jpeg",
    "image/bmp",
    "application/x-qt-image",
    "text/rtf",
    "text/html",
    "x-special/gnome-copied-files",
    "application/x-kde-cutselection",
    "text/x-moz-url",
    "application/x-kde4-urilist",
};

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::start<QGuiApplication>([] {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input(data, size);
    QMimeData mime;
    while (!input.atEnd()) {
        const quint8 selector = input.byte();
        const QString format = selector < std::size(formats) ? QString::fromLatin1(formats[selector])
                                                             : QString::fromLatin1(input.bytes());
        mime.setData(format, input.longBytes());
    }
    const TransferData pasteboard = MimeDataConverter::fromMimeData(&mime);
    const DropPayload handled = DropPayload::classify(pasteboard);

    FuzzSupport::require(handled.itemsCount() == pasteboard.items().size(), "every item is counted");
    FuzzSupport::require(handled.allFileUrls().size()
                             == handled.imgFileUrls().size() + handled.folderFileUrls().size()
                                 + handled.videoFileUrls().size() + handled.otherFileUrls().size(),
                         "every file lands in exactly one kind");
    FuzzSupport::require(handled.allFileUrls().isEmpty() == !(handled.containedFileType() & FileKindAnyFile),
                         "files are marked as files");

    // Text Korvane puts on the clipboard reads back unchanged.
    const QString text = QString::fromUtf8(mime.data(QStringLiteral("text/plain")));
    if (!text.isEmpty()) {
        const std::unique_ptr<QMimeData> written(MimeDataConverter::mimeDataForText(text));
        const DropPayload back = DropPayload::classify(MimeDataConverter::fromMimeData(written.get()));
        FuzzSupport::require(back.dataCatalog() == DataCatalogText && back.textString() == text,
                             "written text reads back");
    }
    return 0;
}
