#include "store/actiontransfer.h"

#include "store/customurl.h"
#include "store/droplistentity.h"
#include "store/renamesettings.h"
#include "intake/actioncatalog.h"
#include "store/actionstore.h"
#include "store/storecontext.h"
#include "store/storeschema.h"
#include "store/customurlsettings.h"
#include "store/storelogging.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLoggingCategory>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

const QString formatName = QStringLiteral("korvane-actions");
const QString settingsKey = QStringLiteral("settings");
const QString urlsKey = QStringLiteral("urls");

// Fixed by the store when a record is made, so a file neither carries nor sets them.
bool isAssignedOnImport(const QString &attribute)
{
    return attribute == QLatin1String("dropID") || attribute == QLatin1String("index");
}

QJsonValue jsonValue(const AttributeDescription &attribute, const QVariant &value)
{
    switch (attribute.type) {
    case AttributeType::Int16:
    case AttributeType::Int32:
    case AttributeType::Int64:
        return QJsonValue(value.toLongLong());
    case AttributeType::Boolean:
        return QJsonValue(value.toBool());
    case AttributeType::Float:
    case AttributeType::Double: {
        // JSON has no infinity or NaN: such a value would be written as null.
        const double number = value.toDouble();
        return QJsonValue(std::isfinite(number) ? number : attribute.defaultValue.toDouble());
    }
    case AttributeType::String:
        return value.isNull() ? QJsonValue() : QJsonValue(value.toString());
    }
    return QJsonValue();
}

QJsonObject recordJson(const StoredRecord &object, bool withSecrets, bool skipAssigned)
{
    QJsonObject json;
    for (const AttributeDescription &attribute : object.entity().attributes) {
        if ((attribute.secret && !withSecrets) || (skipAssigned && isAssignedOnImport(attribute.name)))
            continue;
        json.insert(attribute.name, jsonValue(attribute, object.value(attribute.name)));
    }
    return json;
}

// Where a problem is: the keys and array positions that lead to the value.
using JsonPath = QVariantList;

struct Problem {
    JsonPath path;
    QString text;
};

// Finds the line of a value in a document QJsonDocument has already accepted, so it can
// skip over anything it is not looking for without checking it.
class JsonLineFinder
{
public:
    explicit JsonLineFinder(const QByteArray &json)
        : m_json(json)
    {
    }

    int lineOf(const JsonPath &path)
    {
        m_pos = 0;
        m_line = 1;
        return find(path, 0);
    }

private:
    char peek() const { return m_pos < m_json.size() ? m_json.at(m_pos) : '\0'; }

    void skipSpace()
    {
        while (m_pos < m_json.size()) {
            const char c = m_json.at(m_pos);
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++m_pos;
        }
    }

    // Valid JSON strings hold no raw line breaks, so lines need no counting here.
    QByteArray takeString()
    {
        const qsizetype start = m_pos;
        ++m_pos;
        while (m_pos < m_json.size() && m_json.at(m_pos) != '"')
            m_pos += m_json.at(m_pos) == '\\' ? 2 : 1;
        ++m_pos;
        return m_json.mid(start, m_pos - start);
    }

    QString key()
    {
        const QByteArray raw = takeString();
        if (!raw.contains('\\'))
            return QString::fromUtf8(raw.mid(1, raw.size() - 2));
        return QJsonDocument::fromJson("[" + raw + "]").array().at(0).toString();
    }

    void skipValue()
    {
        skipSpace();
        int depth = 0;
        do {
            const char c = peek();
            if (c == '\0')
                return;
            if (c == '"') {
                takeString();
                continue;
            }
            if (c == '{' || c == '[')
                ++depth;
            else if (c == '}' || c == ']')
                --depth;
            else if (depth == 0 && (c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'))
                return;
            if (c == '\n')
                ++m_line;
            ++m_pos;
        } while (depth > 0 || (peek() != ',' && peek() != '}' && peek() != ']' && peek() != '\0'));
    }

    int find(const JsonPath &path, int depth)
    {
        skipSpace();
        const int here = m_line;
        if (depth == path.size())
            return here;
        const char open = peek();
        if (open != '{' && open != '[')
            return here;
        ++m_pos;
        for (int index = 0;; ++index) {
            skipSpace();
            if (peek() == '}' || peek() == ']' || peek() == '\0')
                return here;
            bool match;
            if (open == '{') {
                match = key() == path.at(depth).toString();
                skipSpace();
                ++m_pos; // the colon
            } else {
                match = path.at(depth).typeId() == QMetaType::Int && path.at(depth).toInt() == index;
            }
            if (match)
                return find(path, depth + 1);
            skipValue();
            skipSpace();
            if (peek() == ',')
                ++m_pos;
        }
    }

    const QByteArray &m_json;
    qsizetype m_pos = 0;
    int m_line = 1;
};

QString describe(const JsonPath &path)
{
    QString text;
    for (const QVariant &step : path) {
        if (step.typeId() == QMetaType::Int)
            text += QStringLiteral("[%1]").arg(step.toInt());
        else
            text += (text.isEmpty() ? QString() : QStringLiteral(".")) + step.toString();
    }
    return text;
}

// Converts a JSON value to the attribute's stored type. The problem never quotes the
// value: it may be a key or a password.
bool readValue(const AttributeDescription &attribute, const QJsonValue &json, QVariant *value, QString *problem)
{
    switch (attribute.type) {
    case AttributeType::Int16:
    case AttributeType::Int32:
    case AttributeType::Int64:
    case AttributeType::Float:
    case AttributeType::Double: {
        const ValueRange range = StoreSchema::valueRange(attribute);
        const bool whole = attribute.type != AttributeType::Float && attribute.type != AttributeType::Double;
        const double number = json.toDouble();
        if (!json.isDouble() || (whole && std::floor(number) != number) || !(number >= range.lowest && number <= range.highest)) {
            *problem = QStringLiteral("must be a %1 from %2 to %3")
                           .arg(whole ? QStringLiteral("whole number") : QStringLiteral("number"))
                           .arg(QString::number(range.lowest, 'g', 16), QString::number(range.highest, 'g', 16));
            return false;
        }
        *value = whole ? QVariant(json.toInteger()) : QVariant(number);
        break;
    }
    case AttributeType::Boolean:
        if (!json.isBool()) {
            *problem = QStringLiteral("must be true or false");
            return false;
        }
        *value = json.toBool();
        break;
    case AttributeType::String:
        if (!json.isString() && !json.isNull()) {
            *problem = QStringLiteral("must be a string");
            return false;
        }
        *value = json.isNull() ? QVariant() : QVariant(json.toString());
        break;
    }
    if (!StoreSchema::convertValue(attribute, value)) {
        *problem = QStringLiteral("does not fit the stored type");
        return false;
    }
    return true;
}

using Values = QList<QPair<QString, QVariant>>;

// Reads the attributes of one record; fields outside the entity are problems.
bool readRecord(const EntityDescription &entity, const QJsonObject &json, const JsonPath &path,
                const QStringList &otherKeys, Values *values, Problem *problem)
{
    for (auto it = json.begin(); it != json.end(); ++it) {
        if (otherKeys.contains(it.key()))
            continue;
        const int index = entity.attributeIndex(it.key());
        if (index < 0 || (isAssignedOnImport(it.key()) && entity.name == DropListEntity::entityName())) {
            QStringList known = otherKeys;
            for (const AttributeDescription &attribute : entity.attributes) {
                if (!(isAssignedOnImport(attribute.name) && entity.name == DropListEntity::entityName()))
                    known.append(attribute.name);
            }
            *problem = {path + JsonPath{it.key()},
                        QStringLiteral("%1 has no field \"%2\"; its fields are %3").arg(entity.name, it.key(), known.join(QLatin1String(", ")))};
            return false;
        }
        const AttributeDescription &attribute = entity.attributes.at(index);
        QVariant value;
        QString why;
        if (!readValue(attribute, it.value(), &value, &why)) {
            *problem = {path + JsonPath{it.key()}, QStringLiteral("%1 of %2 %3").arg(attribute.name, entity.name, why)};
            return false;
        }
        if (entity.name == RenameSettings::entityName()) {
            const QString namePart = RenameSettings::namePartProblem(attribute.name, value.toString());
            if (!namePart.isEmpty()) {
                *problem = {path + JsonPath{it.key()}, namePart};
                return false;
            }
        }
        values->append({attribute.name, value});
    }
    return true;
}

struct PlannedUrl {
    QString url;
    double createTime = 0;
    bool hasCreateTime = false;
};

struct PlannedAction {
    qint64 catalog = 0;
    qint64 type = 0;
    Values drop;
    Values settings;
    QList<PlannedUrl> urls;
    qint32 keyCode = 0;
    qint32 modifiers = 0;
    bool lacksSecrets = false;
};

bool readAction(const QJsonValue &value, const JsonPath &path, PlannedAction *action, Problem *problem)
{
    if (!value.isObject()) {
        *problem = {path, QStringLiteral("an action must be an object")};
        return false;
    }
    const QJsonObject json = value.toObject();
    for (const char *required : {"catalog", "type"}) {
        const QJsonValue field = json.value(QLatin1String(required));
        if (!field.isDouble() || std::floor(field.toDouble()) != field.toDouble()) {
            *problem = {field.isUndefined() ? path : path + JsonPath{QString::fromLatin1(required)},
                        QStringLiteral("an action needs %1 as a whole number").arg(QLatin1String(required))};
            return false;
        }
    }
    action->catalog = json.value(QLatin1String("catalog")).toInteger();
    action->type = json.value(QLatin1String("type")).toInteger();
    if (!ActionCatalog::isKnown(action->catalog, action->type)) {
        *problem = {path + JsonPath{QStringLiteral("type")},
                    QStringLiteral("no action kind has catalog %1 and type %2 (text actions: catalog 0, types 0-%3; "
                                   "file and image actions: catalog 1, types 0-%4)")
                        .arg(action->catalog)
                        .arg(action->type)
                        .arg(ActionCatalog::typeCount(0) - 1)
                        .arg(ActionCatalog::typeCount(1) - 1)};
        return false;
    }
    const EntityDescription *settingsRecord = StoreSchema::settingsRecord(action->catalog, action->type);
    const bool takesUrls = settingsRecord->name == CustomUrlSettings::entityName();
    QStringList otherKeys{settingsKey};
    if (takesUrls)
        otherKeys.append(urlsKey);
    if (!readRecord(*StoreSchema::entity(DropListEntity::entityName()), json, path, otherKeys, &action->drop, problem))
        return false;
    for (const auto &[name, v] : std::as_const(action->drop)) {
        if (name == QLatin1String("keyCode"))
            action->keyCode = v.toInt();
        else if (name == QLatin1String("modifiers"))
            action->modifiers = v.toInt();
    }

    const QJsonValue settings = json.value(settingsKey);
    if (!settings.isUndefined()) {
        if (!settings.isObject()) {
            *problem = {path + JsonPath{settingsKey}, QStringLiteral("settings must be an object of %1's fields").arg(settingsRecord->name)};
            return false;
        }
        if (!readRecord(*settingsRecord, settings.toObject(), path + JsonPath{settingsKey}, {}, &action->settings, problem))
            return false;
    }
    for (const AttributeDescription &attribute : settingsRecord->attributes) {
        if (attribute.secret && !settings.toObject().contains(attribute.name))
            action->lacksSecrets = true;
    }

    const QJsonValue urls = json.value(urlsKey);
    if (!takesUrls || urls.isUndefined())
        return true;
    const JsonPath urlsPath = path + JsonPath{urlsKey};
    if (!urls.isArray()) {
        *problem = {urlsPath, QStringLiteral("urls must be an array of URL templates")};
        return false;
    }
    const QJsonArray array = urls.toArray();
    if (array.size() > ActionTransfer::MaximumUrls) {
        *problem = {urlsPath, QStringLiteral("an action takes at most %1 URL templates, not %2").arg(ActionTransfer::MaximumUrls).arg(array.size())};
        return false;
    }
    const EntityDescription &urlEntity = *StoreSchema::entity(CustomUrl::entityName());
    for (int i = 0; i < array.size(); ++i) {
        const JsonPath urlPath = urlsPath + JsonPath{i};
        if (!array.at(i).isObject()) {
            *problem = {urlPath, QStringLiteral("a URL template must be an object with url and createTime")};
            return false;
        }
        Values values;
        if (!readRecord(urlEntity, array.at(i).toObject(), urlPath, {}, &values, problem))
            return false;
        PlannedUrl url;
        for (const auto &[name, v] : std::as_const(values)) {
            if (name == QLatin1String("url")) {
                url.url = v.toString();
            } else {
                url.createTime = v.toDouble();
                url.hasCreateTime = true;
            }
        }
        if (url.url.isEmpty()) {
            *problem = {urlPath, QStringLiteral("a URL template needs a non-empty url")};
            return false;
        }
        action->urls.append(url);
    }
    return true;
}

} // namespace

ActionTransfer::ActionTransfer(ActionStore *store)
    : m_store(store)
{
}

QByteArray ActionTransfer::exportActions(bool withSecrets)
{
    QJsonArray actions;
    for (const qint64 catalog : {0, 1}) {
        for (const DropListEntityPtr &drop : m_store->getDropsByCatalog(catalog)) {
            QJsonObject json = recordJson(*drop, withSecrets, true);
            if (const auto settings = drop->settings())
                json.insert(settingsKey, recordJson(*settings, withSecrets, false));
            if (const auto custom = drop->customUrlSettings()) {
                QJsonArray urls;
                for (const auto &url : custom->urls())
                    urls.append(recordJson(*url, withSecrets, false));
                json.insert(urlsKey, urls);
            }
            actions.append(json);
        }
    }
    const QJsonObject document{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("withSecrets"), withSecrets},
        {QStringLiteral("actions"), actions},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

bool ActionTransfer::importActions(const QByteArray &json, bool replace, QString *error)
{
    m_importedCount = 0;
    m_missingSecretCount = 0;
    if (json.size() > MaximumFileSize) {
        *error = QStringLiteral("the file is larger than %1 MB, the most an action file may be").arg(MaximumFileSize / (1024 * 1024));
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const int line = int(json.left(parseError.offset).count('\n')) + 1;
        *error = QStringLiteral("line %1: not valid JSON: %2").arg(line).arg(parseError.errorString());
        return false;
    }

    Problem problem;
    auto fail = [&] {
        const int line = JsonLineFinder(json).lineOf(problem.path);
        const QString where = problem.path.isEmpty() ? QString() : QStringLiteral(" (at %1)").arg(describe(problem.path));
        *error = QStringLiteral("line %1%2: %3").arg(line).arg(where, problem.text);
        return false;
    };

    if (!document.isObject()) {
        problem.text = QStringLiteral("not a Korvane action file: it must be an object with format \"%1\"").arg(formatName);
        return fail();
    }
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("format")).toString() != formatName) {
        problem = {root.contains(QLatin1String("format")) ? JsonPath{QStringLiteral("format")} : JsonPath{},
                   QStringLiteral("not a Korvane action file: format must be \"%1\"").arg(formatName)};
        return fail();
    }
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != double(FormatVersion)) {
        problem = {JsonPath{QStringLiteral("version")},
                   QStringLiteral("this Korvane reads version %1 of the action file format").arg(FormatVersion)};
        return fail();
    }
    for (auto it = root.begin(); it != root.end(); ++it) {
        static const QStringList known{QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("withSecrets"), QStringLiteral("actions")};
        if (!known.contains(it.key())) {
            problem = {JsonPath{it.key()}, QStringLiteral("unknown field \"%1\"; the file's fields are %2").arg(it.key(), known.join(QLatin1String(", ")))};
            return fail();
        }
    }
    const QJsonValue actionsValue = root.value(QLatin1String("actions"));
    if (!actionsValue.isArray()) {
        problem = {actionsValue.isUndefined() ? JsonPath{} : JsonPath{QStringLiteral("actions")}, QStringLiteral("actions must be an array")};
        return fail();
    }
    const QJsonArray actions = actionsValue.toArray();
    if (actions.size() > MaximumActions) {
        problem = {JsonPath{QStringLiteral("actions")},
                   QStringLiteral("the file holds %1 actions; at most %2 are imported at once").arg(actions.size()).arg(MaximumActions)};
        return fail();
    }
    if (actions.isEmpty() && replace) {
        problem = {JsonPath{QStringLiteral("actions")}, QStringLiteral("the file holds no actions; replacing would remove every action")};
        return fail();
    }

    QList<PlannedAction> planned;
    planned.reserve(actions.size());
    QHash<QPair<qint32, qint32>, int> hotkeys;
    for (int i = 0; i < actions.size(); ++i) {
        PlannedAction action;
        const JsonPath path{QStringLiteral("actions"), i};
        if (!readAction(actions.at(i), path, &action, &problem))
            return fail();
        if (action.keyCode != 0 || action.modifiers != 0) {
            const QPair<qint32, qint32> hotkey{action.keyCode, action.modifiers};
            if (hotkeys.contains(hotkey)) {
                problem = {path + JsonPath{QStringLiteral("keyCode")},
                           QStringLiteral("this action has the hotkey of actions[%1] (key %2, modifiers %3)")
                               .arg(hotkeys.value(hotkey))
                               .arg(action.keyCode)
                               .arg(action.modifiers)};
                return fail();
            }
            if (!replace) {
                if (const DropListEntityPtr holder = m_store->fetchDropWith(quint32(action.keyCode), quint32(action.modifiers))) {
                    problem = {path + JsonPath{QStringLiteral("keyCode")},
                               QStringLiteral("the hotkey (key %1, modifiers %2) is already \"%3\"'s (dropID %4)")
                                   .arg(action.keyCode)
                                   .arg(action.modifiers)
                                   .arg(holder->title())
                                   .arg(holder->dropID())};
                    return fail();
                }
            }
            hotkeys.insert(hotkey, i);
        }
        planned.append(action);
    }

    // The list is read and extended under the write lock, so an import beside another
    // writer neither loses its actions nor shares their places.
    StoreContext *context = m_store->context();
    int missingSecrets = 0;
    QString saveError;
    const bool written = m_store->write([&](QString *) {
        QHash<qint64, qint32> nextIndex;
        for (const DropListEntityPtr &drop : m_store->getAllDrops()) {
            if (replace)
                context->deleteObject(drop);
            else
                nextIndex[drop->catalog()] = qMax(nextIndex.value(drop->catalog()), drop->index() + 1);
        }
        for (const PlannedAction &action : std::as_const(planned)) {
            qint32 &index = nextIndex[action.catalog];
            const DropListEntityPtr drop = m_store->insertNewDrop(action.catalog, action.type, index++);
            for (const auto &[name, value] : action.drop)
                drop->setValue(name, value);
            const auto settings = drop->settings();
            for (const auto &[name, value] : action.settings)
                settings->setValue(name, value);
            if (const auto custom = drop->customUrlSettings()) {
                // Templates without a time keep the file's order after the timed ones.
                double lastTime = 0;
                for (const PlannedUrl &planned : action.urls) {
                    auto url = context->insertNewObject<CustomUrl>();
                    url->setUrl(planned.url);
                    lastTime = planned.hasCreateTime ? planned.createTime : lastTime;
                    url->setCreateTime(lastTime);
                    custom->addUrlsObject(url);
                }
            }
            if (action.lacksSecrets)
                ++missingSecrets;
        }
        return true;
    },
                                        &saveError);
    if (!written) {
        *error = saveError;
        return false;
    }
    m_missingSecretCount = missingSecrets;
    m_importedCount = int(planned.size());
    qCInfo(lcTransfer, "imported %d actions%s", m_importedCount, replace ? " in place of the list" : "");
    return true;
}
