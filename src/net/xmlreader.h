#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// Turns an XML document into nested maps: each element is a map of its attributes, stored in
// its parent under its name; a repeated child becomes a list of maps, a single one stays a
// map; an element's text, trimmed, is stored under "text". Readers must accept both a map
// and a list wherever an element may repeat.
//
// Documents with a DTD are refused, so no entity, internal or external, is ever expanded;
// nesting deeper than maximumDepth() is refused too.
class XMLReader final
{
public:
    enum Option {
        ProcessNamespaces = 1,        // element and attribute names without their prefixes
        ReportNamespacePrefixes = 2,  // accepted; the result is the same
        ResolveExternalEntities = 4,  // accepted and never done
    };

    // The root map, or null when the document does not parse (the reason in error).
    static QVariant dictionaryForXMLData(const QByteArray &data, QString *error = nullptr);
    static QVariant dictionaryForXMLData(const QByteArray &data, int options, QString *error = nullptr);
    static QVariant dictionaryForXMLString(const QString &string, QString *error = nullptr);
    static QVariant dictionaryForXMLString(const QString &string, int options, QString *error = nullptr);

    static int maximumDepth() { return 256; }

private:
    explicit XMLReader(int options);
    QVariant objectWithData(const QByteArray &data);

    void startElement(const QString &name, const QVariantMap &attributes);
    void endElement();

    int m_options = 0;
    // The open elements' maps; the bottom one is the result's root. Each open element is a
    // path from its parent: the key, and the index when the key holds a list.
    QList<QVariantMap> dictionaryStack;
    QList<QPair<QString, qsizetype>> m_placeStack;
    QString textInProgress;
    QString errorPointer;
};
