#pragma once

#include "net/answerlimits.h"

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
// Documents with a DTD are refused, so no entity, internal or external, is ever expanded.
// Nesting deeper than maximumDepth(), an element with more than maximumAttributes(), a text
// longer than maximumText() or more than maximumNodes() elements and attributes is refused
// too, so reading takes a time bounded whatever the document.
class XmlReader final
{
public:
    enum Option {
        ProcessNamespaces = 1, // element and attribute names without their prefixes
        ReportNamespacePrefixes = 2, // accepted; the result is the same
        ResolveExternalEntities = 4, // accepted and never done
    };

    // The root map, or null when the document does not parse (the reason in error).
    static QVariant dictionaryForXMLData(const QByteArray &data, QString *error = nullptr);
    static QVariant dictionaryForXMLData(const QByteArray &data, int options, QString *error = nullptr);
    static QVariant dictionaryForXMLString(const QString &string, QString *error = nullptr);
    static QVariant dictionaryForXMLString(const QString &string, int options, QString *error = nullptr);

    static int maximumDepth() { return AnswerLimits::documentDepth; }
    static int maximumAttributes() { return AnswerLimits::xmlAttributes; }
    static qint64 maximumText() { return AnswerLimits::documentText; }
    static int maximumNodes() { return AnswerLimits::documentNodes; }

private:
    explicit XmlReader(int options);
    QVariant objectWithData(const QByteArray &data);
    // Qt checks each attribute against all before it in the same element, which is quadratic
    // in their count: tags are counted over the raw bytes, in one pass, before Qt sees them.
    // What goes over a limit, or an empty text.
    static QString overLimit(const QByteArray &data);

    // An element while the document is read: its attributes, its text and its children in
    // order. The maps are made once, at the end, so that no map is copied per element.
    struct Element {
        QVariantMap attributes;
        QString text;
        bool hasText = false;
        QList<QPair<QString, qsizetype>> children; // name, index into m_elements
    };

    void startElement(const QString &name, QVariantMap &&attributes);
    void endElement();
    QVariantMap mapOf(qsizetype element) const;

    int m_options = 0;
    QList<Element> m_elements;
    // The open elements, as indexes into m_elements; the bottom one is the result's root.
    QList<qsizetype> dictionaryStack;
    QString textInProgress;
    QString errorPointer;
};
