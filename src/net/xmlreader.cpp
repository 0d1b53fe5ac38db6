#include "net/xmlreader.h"

#include <QHash>
#include <QXmlStreamReader>

XmlReader::XmlReader(int options)
    : m_options(options)
{
}

QVariant XmlReader::dictionaryForXMLData(const QByteArray &data, QString *error)
{
    return dictionaryForXMLData(data, 0, error);
}

QVariant XmlReader::dictionaryForXMLData(const QByteArray &data, int options, QString *error)
{
    XmlReader reader(options);
    const QVariant result = reader.objectWithData(data);
    if (error)
        *error = reader.errorPointer;
    return result;
}

QVariant XmlReader::dictionaryForXMLString(const QString &string, QString *error)
{
    return dictionaryForXMLString(string, 0, error);
}

QVariant XmlReader::dictionaryForXMLString(const QString &string, int options, QString *error)
{
    return dictionaryForXMLData(string.toUtf8(), options, error);
}

void XmlReader::startElement(const QString &name, QVariantMap &&attributes)
{
    const qsizetype index = m_elements.size();
    m_elements.append(Element{std::move(attributes), QString(), false, {}});
    m_elements[dictionaryStack.last()].children.append({name, index});
    dictionaryStack.append(index);
}

void XmlReader::endElement()
{
    if (!textInProgress.isEmpty()) {
        Element &element = m_elements[dictionaryStack.last()];
        element.text = textInProgress.trimmed();
        element.hasText = true;
        textInProgress = QString();
    }
    dictionaryStack.removeLast();
}

QVariantMap XmlReader::mapOf(qsizetype index) const
{
    const Element &element = m_elements.at(index);
    QVariantMap map = element.attributes;
    // A name met once holds that child's map; met again (or already an attribute's), a list
    // of the values in document order.
    QHash<QString, QVariantList> lists;
    for (const auto &[name, child] : element.children) {
        const auto list = lists.find(name);
        if (list != lists.end()) {
            list->append(mapOf(child));
            continue;
        }
        const auto existing = map.constFind(name);
        if (existing == map.cend())
            map.insert(name, mapOf(child));
        else
            lists.insert(name, QVariantList{*existing, mapOf(child)});
    }
    for (auto it = lists.cbegin(); it != lists.cend(); ++it)
        map.insert(it.key(), it.value());
    if (element.hasText)
        map.insert(QStringLiteral("text"), element.text);
    return map;
}

QString XmlReader::overLimit(const QByteArray &data)
{
    const qsizetype size = data.size();
    qsizetype at = 0;
    int nodes = 0;
    // Comments, CDATA sections and processing instructions may hold "<", ">" and "=" freely.
    const auto skipTo = [&](const char *end) {
        const qsizetype found = data.indexOf(end, at);
        at = found < 0 ? size : found + qsizetype(qstrlen(end));
    };
    while ((at = data.indexOf('<', at)) >= 0) {
        const QByteArrayView rest = QByteArrayView(data).sliced(at);
        if (rest.startsWith("<!--")) {
            skipTo("-->");
        } else if (rest.startsWith("<![CDATA[")) {
            skipTo("]]>");
        } else if (rest.startsWith("<?")) {
            skipTo("?>");
        } else if (rest.startsWith("<!") || rest.startsWith("</")) {
            at += 2;
        } else {
            // Inside a start tag "=" stands only between a name and its value, or in a quote.
            int attributes = 0;
            if (++nodes > maximumNodes())
                return QStringLiteral("the document has more than %1 elements and attributes").arg(maximumNodes());
            char quote = 0;
            for (++at; at < size; ++at) {
                const char c = data.at(at);
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    if (++attributes > maximumAttributes())
                        return QStringLiteral("an element has more than %1 attributes").arg(maximumAttributes());
                    if (++nodes > maximumNodes())
                        return QStringLiteral("the document has more than %1 elements and attributes").arg(maximumNodes());
                } else if (c == '>') {
                    break;
                }
            }
        }
    }
    return QString();
}

QVariant XmlReader::objectWithData(const QByteArray &data)
{
    errorPointer = overLimit(data);
    if (!errorPointer.isEmpty())
        return QVariant();
    m_elements = {Element()};
    dictionaryStack = {0};
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
            startElement((localNames ? xml.name() : xml.qualifiedName()).toString(), std::move(attributes));
            break;
        }
        case QXmlStreamReader::Characters:
            if (textInProgress.size() + xml.text().size() > maximumText()) {
                xml.raiseError(QStringLiteral("a text is longer than %1 characters").arg(maximumText()));
                break;
            }
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
    return mapOf(0);
}
