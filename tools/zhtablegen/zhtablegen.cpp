// Writes OpenCC's conversion configurations as tables that the converter applies in one walk
// and a few plain passes, giving the same text as the configuration's own process.
//
//   zhtablegen <data dir> <output dir> NAME=CONFIG.json...
//
// <data dir> holds OpenCC's config/*.json and dictionary/*.txt ("KEY<TAB>VALUE [VALUE...]" a
// line, "#" comments, blank lines; a configuration's "X.ocd2" is read as "X.txt").
//
// A configuration converts a text this way: the normalization chain maps compatibility
// ideographs to their unified forms; segmentation cuts the text, each time taking the longest
// key of its dictionary, and the characters where no key starts gather into segments of their
// own; each step of the conversion chain then walks each segment by longest match over its
// dictionary group, and where nothing matches copies a character. A group asks its members
// either in turn, the first that matches anything deciding ("short_circuit"), or all at once,
// the longest match winning and the earlier member on a tie ("union").
//
// A short_circuit group is a single dictionary for a longest-match walk once every key that a
// key of an earlier member is a proper prefix of is left out: wherever such a key matches, the
// earlier member already does. So every step flattens to one table. A segment of the
// segmentation dictionary is converted whole, always the same way, so its table entry holds
// the whole chain's result; the gathered characters between them go through the steps in turn.
// Where the first step starts with the segmentation dictionary and goes on with single
// characters, only those characters can apply between segments, and they join the walk that
// finds the segments.
//
// For each NAME this writes NAME.txt, sections of "source<TAB>target" lines, each after a
// heading line: "[normalization]", "[segments]", "[characters]" and one "[step]" for each pass
// over the text between segments. A dictionary line that is not an entry fails with its file
// and line.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

struct Dictionary {
    QString name;
    // Insertion order is kept so that the tables come out the same on every build.
    std::vector<std::pair<QString, QString>> entries;
    QHash<QString, QString> lookup;
    int maxLength = 0;
};
using DictionaryPtr = std::shared_ptr<const Dictionary>;

// A group as levels asked in turn; the dictionaries of one level are asked at once.
using Level = std::vector<DictionaryPtr>;
using Group = std::vector<Level>;

bool isOneCharacter(const QString &text)
{
    return text.size() == 1 || (text.size() == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate());
}

int characterLength(const QString &text, int pos)
{
    return (text.at(pos).isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate()) ? 2 : 1;
}

// The longest key of the group at pos within [pos, end), 0 when none.
int matchGroup(const Group &group, const QString &text, int pos, int end, QString *target)
{
    for (const Level &level : group) {
        int best = 0;
        for (const DictionaryPtr &dict : level) {
            for (int length = std::min(dict->maxLength, end - pos); length > best; --length) {
                const auto it = dict->lookup.constFind(text.mid(pos, length));
                if (it != dict->lookup.constEnd()) {
                    best = length;
                    *target = it.value();
                    break;
                }
            }
        }
        if (best > 0)
            return best;
    }
    return 0;
}

QString convertSegment(const Group &group, const QString &segment)
{
    QString result;
    QString target;
    for (int pos = 0; pos < segment.size();) {
        const int matched = matchGroup(group, segment, pos, int(segment.size()), &target);
        if (matched > 0) {
            result += target;
            pos += matched;
        } else {
            const int length = characterLength(segment, pos);
            result += segment.mid(pos, length);
            pos += length;
        }
    }
    return result;
}

using Table = std::map<QString, QString>;

// The group's levels from `first` on as one table for a longest-match walk.
Table flatten(const Group &group, std::size_t first = 0)
{
    Table table;
    QSet<QString> earlier;
    for (std::size_t i = first; i < group.size(); ++i) {
        QSet<QString> levelKeys;
        for (const DictionaryPtr &dict : group[i]) {
            for (const auto &[key, value] : dict->entries) {
                levelKeys.insert(key);
                if (table.count(key))
                    continue;
                bool shadowed = false;
                for (int length = 1; length < key.size() && !shadowed; ++length)
                    shadowed = earlier.contains(key.left(length));
                if (!shadowed)
                    table.emplace(key, value);
            }
        }
        earlier.unite(levelKeys);
    }
    return table;
}

QSet<QString> keysOf(const Level &level)
{
    QSet<QString> keys;
    for (const DictionaryPtr &dict : level) {
        for (const auto &entry : dict->entries)
            keys.insert(entry.first);
    }
    return keys;
}

bool isCharacterLevel(const Group &group, std::size_t first)
{
    for (std::size_t i = first; i < group.size(); ++i) {
        for (const DictionaryPtr &dict : group[i]) {
            if (dict->maxLength > 2 || !std::all_of(dict->entries.cbegin(), dict->entries.cend(), [](const auto &entry) { return isOneCharacter(entry.first); }))
                return false;
        }
    }
    return true;
}

class Generator
{
public:
    explicit Generator(QString dataDir)
        : m_dataDir(std::move(dataDir))
    {
    }

    bool writeTables(const QString &configName, const QString &outputPath)
    {
        m_context = configName;
        const QJsonObject config = readConfig(configName);
        if (config.isEmpty())
            return false;

        std::vector<Group> normalization;
        std::vector<Group> chain;
        if (!readChain(config.value(QLatin1String("normalization")), &normalization)
            || !readChain(config.value(QLatin1String("conversion_chain")), &chain))
            return false;
        if (chain.empty())
            return fail(QStringLiteral("no conversion_chain"));

        Table normalizationTable;
        if (normalization.size() > 1)
            return fail(QStringLiteral("more than one normalization step"));
        if (!normalization.empty()) {
            if (!isCharacterLevel(normalization.front(), 0))
                return fail(QStringLiteral("normalization maps more than single characters"));
            normalizationTable = flatten(normalization.front());
        }

        // Without segmentation the text is one segment. One step whose later members are of
        // single characters converts it as if its first member cut the text.
        QSet<QString> segmentKeys;
        const QJsonValue segmentation = config.value(QLatin1String("segmentation"));
        if (!segmentation.isUndefined()) {
            const QJsonObject object = segmentation.toObject();
            if (object.value(QLatin1String("type")).toString() != QLatin1String("mmseg"))
                return fail(QStringLiteral("unsupported segmentation"));
            Group group;
            if (!readGroup(object.value(QLatin1String("dict")).toObject(), &group))
                return false;
            for (const auto &entry : flatten(group))
                segmentKeys.insert(entry.first);
        } else if (chain.size() == 1 && isCharacterLevel(chain.front(), 1)) {
            segmentKeys = keysOf(chain.front().front());
        }

        Table segments;
        for (const QString &key : std::as_const(segmentKeys)) {
            QString target = key;
            for (const Group &step : chain)
                target = convertSegment(step, target);
            segments.emplace(key, target);
        }

        // Between segments the first step's first member never matches when it is the
        // segmentation dictionary: it would have made a segment there.
        Table characters;
        std::size_t firstStep = 0;
        if (!segmentKeys.isEmpty() && keysOf(chain.front().front()) == segmentKeys && isCharacterLevel(chain.front(), 1)) {
            characters = flatten(chain.front(), 1);
            firstStep = 1;
        }
        std::vector<Table> steps;
        for (std::size_t i = firstStep; i < chain.size(); ++i)
            steps.push_back(flatten(chain[i]));

        QByteArray data;
        const auto writeSection = [&data](const char *heading, const Table &table, bool keepSame) {
            data += heading;
            data += '\n';
            for (const auto &[source, target] : table) {
                // A character that stays itself changes nothing; a longer source that stays
                // itself still keeps shorter ones from matching inside it.
                if (!keepSame && source == target && isOneCharacter(source))
                    continue;
                data += source.toUtf8() + '\t' + target.toUtf8() + '\n';
            }
        };
        writeSection("[normalization]", normalizationTable, false);
        writeSection("[segments]", segments, true);
        writeSection("[characters]", characters, false);
        for (const Table &step : steps)
            writeSection("[step]", step, false);

        QFile out(outputPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size()) {
            err() << out.fileName() << ": " << out.errorString() << '\n';
            return false;
        }
        return true;
    }

private:
    bool fail(const QString &message)
    {
        err() << m_context << ": " << message << '\n';
        return false;
    }

    QJsonObject readConfig(const QString &name)
    {
        QFile file(m_dataDir + QStringLiteral("/config/") + name);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << file.fileName() << ": " << file.errorString() << '\n';
            return {};
        }
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            err() << file.fileName() << ": " << error.errorString() << '\n';
            return {};
        }
        return document.object();
    }

    bool readChain(const QJsonValue &value, std::vector<Group> *chain)
    {
        if (value.isUndefined())
            return true;
        if (!value.isArray())
            return fail(QStringLiteral("a chain is not a list"));
        const QJsonArray steps = value.toArray();
        for (const QJsonValue &step : steps) {
            Group group;
            if (!readGroup(step.toObject().value(QLatin1String("dict")).toObject(), &group))
                return false;
            chain->push_back(std::move(group));
        }
        return true;
    }

    // A short_circuit group's members are levels of their own; a union's share one level, so
    // a union can only hold plain dictionaries.
    bool readGroup(const QJsonObject &dict, Group *group)
    {
        const QString type = dict.value(QLatin1String("type")).toString();
        if (type != QLatin1String("group")) {
            DictionaryPtr loaded = readDictionary(dict);
            if (!loaded)
                return false;
            group->push_back({std::move(loaded)});
            return true;
        }
        const QString policy = dict.value(QLatin1String("match_policy")).toString(QStringLiteral("short_circuit"));
        const QJsonArray members = dict.value(QLatin1String("dicts")).toArray();
        if (members.isEmpty())
            return fail(QStringLiteral("an empty group"));
        if (policy == QLatin1String("short_circuit")) {
            for (const QJsonValue &member : members) {
                if (!readGroup(member.toObject(), group))
                    return false;
            }
            return true;
        }
        if (policy != QLatin1String("union"))
            return fail(QStringLiteral("unknown match_policy ") + policy);
        Level level;
        for (const QJsonValue &member : members) {
            DictionaryPtr loaded = readDictionary(member.toObject());
            if (!loaded)
                return false;
            level.push_back(std::move(loaded));
        }
        group->push_back(std::move(level));
        return true;
    }

    DictionaryPtr readDictionary(const QJsonObject &dict)
    {
        const QString type = dict.value(QLatin1String("type")).toString();
        QString file = dict.value(QLatin1String("file")).toString();
        if ((type != QLatin1String("ocd2") && type != QLatin1String("text")) || file.isEmpty()) {
            fail(QStringLiteral("unsupported dictionary ") + type + QLatin1Char(' ') + file);
            return nullptr;
        }
        if (file.endsWith(QLatin1String(".ocd2")))
            file = file.chopped(5) + QStringLiteral(".txt");
        if (const auto it = m_loaded.constFind(file); it != m_loaded.constEnd())
            return it.value();
        DictionaryPtr loaded = parse(m_dataDir + QStringLiteral("/dictionary/") + file);
        if (loaded)
            m_loaded.insert(file, loaded);
        return loaded;
    }

    static DictionaryPtr parse(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << path << ": " << file.errorString() << '\n';
            return nullptr;
        }
        const QByteArray data = file.readAll();
        auto dict = std::make_shared<Dictionary>();
        dict->name = path;
        QHash<QString, int> lineOfKey;
        int lineNumber = 0;
        const auto bad = [&](const char *what) {
            err() << path << ':' << lineNumber << ": " << what << '\n';
            return nullptr;
        };
        for (const QByteArray &line : data.split('\n')) {
            ++lineNumber;
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = decoder(line);
            if (decoder.hasError())
                return bad("not UTF-8");
            const qsizetype tab = text.indexOf(QLatin1Char('\t'));
            if (tab < 0)
                return bad("no tab between key and value");
            if (tab == 0)
                return bad("empty key");
            const QString key = text.left(tab);
            const QString values = text.mid(tab + 1);
            if (values.contains(QLatin1Char('\t')) || key.contains(QLatin1Char(' ')) || key.contains(QLatin1Char('\r')))
                return bad("more than a key and its values");
            // OpenCC lists alternatives separated by spaces; it converts to the first.
            const QString value = values.section(QLatin1Char(' '), 0, 0);
            if (value.isEmpty() || value.contains(QLatin1Char('\r')))
                return bad("empty value");
            if (const auto previous = lineOfKey.constFind(key); previous != lineOfKey.constEnd())
                return bad(qPrintable(QStringLiteral("key repeated from line %1").arg(previous.value())));
            lineOfKey.insert(key, lineNumber);
            dict->entries.emplace_back(key, value);
            dict->lookup.insert(key, value);
            dict->maxLength = std::max(dict->maxLength, int(key.size()));
        }
        if (dict->entries.empty()) {
            err() << path << ": no entries\n";
            return nullptr;
        }
        return dict;
    }

    QString m_dataDir;
    QString m_context;
    QHash<QString, DictionaryPtr> m_loaded;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        err() << "usage: zhtablegen <data dir> <output dir> NAME=CONFIG.json...\n";
        return 2;
    }
    QDir().mkpath(args.at(2));
    Generator generator(args.at(1));
    for (int i = 3; i < args.size(); ++i) {
        const QString name = args.at(i).section(QLatin1Char('='), 0, 0);
        const QString config = args.at(i).section(QLatin1Char('='), 1);
        if (name.isEmpty() || config.isEmpty()) {
            err() << "bad table " << args.at(i) << '\n';
            return 2;
        }
        if (!generator.writeTables(config, args.at(2) + QLatin1Char('/') + name + QStringLiteral(".txt")))
            return 1;
    }
    return 0;
}
