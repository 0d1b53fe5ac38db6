#include "xmlreader.h"

#include <QXmlStreamReader>

XMLReader::XMLReader(int options)
    : m_options(options)
{
}

QVariant XMLReader::dictionaryForXMLData(const QByteArray &data, QString *error)
{
    return dictionaryForXMLData(data, 0, error);
}

QVariant XMLReader::dictionaryForXMLData(const QByteArray &data, int options, QString *error)
{
    XMLReader reader(options);
    const QVariant result = reader.objectWithData(data);
    if (error)
        *error = reader.errorPointer;
    return result;
}

QVariant XMLReader::dictionaryForXMLString(const QString &string, QString *error)
{
    return dictionaryForXMLString(string, 0, error);
}

QVariant XMLReader::dictionaryForXMLString(const QString &string, int options, QString *error)
{
    return dictionaryForXMLData(string.toUtf8(), options, error);
}

void XMLReader::startElement(const QString &name, const QVariantMap &attributes)
{
    QVariantMap &parent = dictionaryStack.last();
    qsizetype index = -1;
    const auto existing = parent.find(name);
    if (existing == parent.end()) {
        parent.insert(name, attributes);
    } else if (existing->typeId() == QMetaType::QVariantList) {
        QVariantList list = existing->toList();
        index = list.size();
        list.append(attributes);
        *existing = list;
    } else {
        *existing = QVariantList{*existing, attributes};
        index = 1;
    }
    dictionaryStack.append(attributes);
    m_placeStack.append({name, index});
}

void XMLReader::endElement()
{
    if (!textInProgress.isEmpty()) {
        dictionaryStack.last().insert(QStringLiteral("text"), textInProgress.trimmed());
        textInProgress = QString();
    }
    // Maps are values here: the finished element is written back into its parent's place.
    const QVariantMap finished = dictionaryStack.takeLast();
    const auto [name, index] = m_placeStack.takeLast();
    QVariantMap &parent = dictionaryStack.last();
    if (index < 0) {
        parent.insert(name, finished);
    } else {
        QVariantList list = parent.value(name).toList();
        list[index] = finished;
        parent.insert(name, list);
    }
}

QVariant XMLReader::objectWithData(const QByteArray &data)
{
    dictionaryStack = {QVariantMap()};
    textInProgress.clear();
    QXmlStreamReader xml(data);
    xml.setNamespaceProcessing(m_options & ProcessNamespaces);
    const bool localNames = m_options & ProcessNamespaces;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            xml.raiseError(QStringLiteral("documents with a DTD are not read"));
            break;
        case QXmlStreamReader::StartElement: {
            if (dictionaryStack.size() > maximumDepth()) {
                xml.raiseError(QStringLiteral("the document nests deeper than %1 elements").arg(maximumDepth()));
                break;
            }
            QVariantMap attributes;
            for (const QXmlStreamAttribute &attribute : xml.attributes())
                attributes.insert((localNames ? attribute.name() : attribute.qualifiedName()).toString(),
                                  attribute.value().toString());
            startElement((localNames ? xml.name() : xml.qualifiedName()).toString(), attributes);
            break;
        }
        case QXmlStreamReader::Characters:
            textInProgress += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        case QXmlStreamReader::EntityReference:
            xml.raiseError(QStringLiteral("undeclared entity"));
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        errorPointer = QStringLiteral("%1 (line %2, column %3)").arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber());
        return QVariant();
    }
    return dictionaryStack.first();
}
