// The XML reader that reads the storage services' answers: any bytes either give a tree no
// deeper than the reader's limit or are refused with a reason.

#include "fuzzsupport.h"
#include "net/xmlreader.h"

#include <QVariantList>
#include <QVariantMap>

namespace {

int depthOf(const QVariant &value)
{
    int deepest = 0;
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            deepest = qMax(deepest, depthOf(it.value()) + 1);
    } else if (value.typeId() == QMetaType::QVariantList) {
        const QVariantList list = value.toList();
        for (const QVariant &item : list)
            deepest = qMax(deepest, depthOf(item));
    }
    return deepest;
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::start<QCoreApplication>([] {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input(data, size);
    const int options = input.byte() & (XmlReader::ProcessNamespaces | XmlReader::ReportNamespacePrefixes | XmlReader::ResolveExternalEntities);
    const QByteArray xml = input.rest();
    QString error;
    const QVariant root = XmlReader::dictionaryForXMLData(xml, options, &error);
    FuzzSupport::require(root.isNull() != error.isEmpty(), "a document is either read or refused with a reason");
    if (root.isNull())
        return 0;
    FuzzSupport::require(root.typeId() == QMetaType::QVariantMap, "the root is a map");
    // Each element adds a level, and "text" or an attribute one more.
    FuzzSupport::require(depthOf(root) <= XmlReader::maximumDepth() + 2, "no tree deeper than the limit");
    return 0;
}
