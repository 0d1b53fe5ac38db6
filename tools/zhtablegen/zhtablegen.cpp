// Writes the conversion chains of the system's OpenCC configurations as tables that the
// converter applies the way OpenCC does, so both agree on every text.
//
//   zhtablegen <opencc_dict> <opencc data dir> <work dir> <output dir> <files> zh2TW=s2twp.json ...
//
// OpenCC first cuts the text into segments by longest match on its segmentation dictionary: each
// match is a segment, and the characters between matches are gathered into segments of their
// own. Then each step of the chain converts each segment by longest match over the step's
// dictionaries, the first dictionary that knows a prefix answering. So a phrase of a later step
// never reaches across a segment's end: "海内存知己" has no first-step phrase, stays one segment,
// and the Taiwan step finds "海內存知己" there before "內存" could match.
//
// For each table NAME this writes NAME.0.txt, the segmentation dictionary's keys, each with the
// whole chain applied to it, and NAME.1.txt and on, the steps applied in turn to the text
// between segments, where the first step's phrases never match, so that its single characters
// are left. A step made of single characters is folded into the step before it. Unused files of
// the <files> are left empty.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Dictionary {
    QHash<QString, QString> entries;
    int maxLength = 0;
};

// A group answers with the first of its dictionaries that knows any prefix, as OpenCC does.
using Group = std::vector<std::shared_ptr<const Dictionary>>;

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int charLength(const QString &text, int pos)
{
    return (text.at(pos).isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate()) ? 2 : 1;
}

// Length of the longest key of the group at pos, 0 if none, with its target.
int matchPrefix(const Group &group, const QString &text, int pos, int end, QString *target)
{
    for (const auto &dict : group) {
        for (int length = std::min(dict->maxLength, end - pos); length > 0; --length) {
            const auto it = dict->entries.constFind(text.mid(pos, length));
            if (it != dict->entries.constEnd()) {
                if (target)
                    *target = it.value();
                return length;
            }
        }
    }
    return 0;
}

QString convertSegment(const Group &group, const QString &segment)
{
    QString result;
    QString target;
    for (int pos = 0; pos < segment.size();) {
        const int matched = matchPrefix(group, segment, pos, segment.size(), &target);
        if (matched > 0) {
            result += target;
            pos += matched;
        } else {
            const int length = charLength(segment, pos);
            result += segment.mid(pos, length);
            pos += length;
        }
    }
    return result;
}

bool isCharacterLevel(const Dictionary &dict)
{
    for (auto it = dict.entries.cbegin(); it != dict.entries.cend(); ++it) {
        if (it.key().size() > charLength(it.key(), 0))
            return false;
    }
    return true;
}

// One step over the text between segments, as a single dictionary: longest match over it is the
// step's own matching.
using Step = std::map<QString, QString>;

// A group of one dictionary is that dictionary. A group of single characters is their union,
// the first dictionary winning a character, since a single character has no shorter prefix.
bool stepOf(const Group &group, Step *step)
{
    if (group.size() > 1 && !std::all_of(group.cbegin(), group.cend(), [](const auto &dict) { return isCharacterLevel(*dict); }))
        return false;
    for (const auto &dict : group) {
        for (auto it = dict->entries.cbegin(); it != dict->entries.cend(); ++it)
            step->emplace(it.key(), it.value());
    }
    return true;
}

bool isCharacterLevel(const Step &step)
{
    return std::all_of(step.cbegin(), step.cend(), [](const auto &entry) { return entry.first.size() <= charLength(entry.first, 0); });
}

QString mapCharacters(const Step &characters, const QString &text)
{
    QString result;
    for (int pos = 0; pos < text.size();) {
        const int length = charLength(text, pos);
        const QString character = text.mid(pos, length);
        const auto it = characters.find(character);
        result += it != characters.end() ? it->second : character;
        pos += length;
    }
    return result;
}

class Generator
{
public:
    Generator(QString openccDict, QString dataDir, QString workDir)
        : m_openccDict(std::move(openccDict))
        , m_dataDir(std::move(dataDir))
        , m_workDir(std::move(workDir))
    {
    }

    bool writeTables(const QString &configName, const QString &outputDir, const QString &name, int files)
    {
        const QJsonObject config = readConfig(configName);
        if (config.isEmpty())
            return false;
        Group segmentation;
        if (!readGroup(config.value(QLatin1String("segmentation")).toObject().value(QLatin1String("dict")).toObject(),
                       &segmentation))
            return false;
        std::vector<Group> chain;
        const QJsonArray stages = config.value(QLatin1String("conversion_chain")).toArray();
        for (const QJsonValue &stage : stages) {
            Group group;
            if (!readGroup(stage.toObject().value(QLatin1String("dict")).toObject(), &group))
                return false;
            chain.push_back(std::move(group));
        }
        // Between segments the segmentation dictionary matches nowhere, so the first step is
        // the rest of its group there; that only holds when the group starts with it.
        if (segmentation.size() != 1 || chain.empty() || chain.front().front() != segmentation.front()) {
            err() << configName << ": the first step does not start with the segmentation dictionary\n";
            return false;
        }

        std::vector<Step> tables(1);
        for (auto it = segmentation.front()->entries.cbegin(); it != segmentation.front()->entries.cend(); ++it) {
            QString target = it.key();
            for (const Group &group : chain)
                target = convertSegment(group, target);
            // Kept when nothing changes too: the segment stops later phrases matching inside it.
            tables.front().emplace(it.key(), target);
        }
        for (std::size_t i = 0; i < chain.size(); ++i) {
            Group group = chain[i];
            if (i == 0)
                group.erase(group.begin());
            Step step;
            if (!stepOf(group, &step)) {
                err() << configName << ": step " << i + 1 << " mixes phrase dictionaries\n";
                return false;
            }
            if (tables.size() > 1 && isCharacterLevel(step)) {
                Step &previous = tables.back();
                for (auto &[source, target] : previous)
                    target = mapCharacters(step, target);
                previous.merge(step);
            } else {
                tables.push_back(std::move(step));
            }
        }
        // The converter looks the first step up in the same walk that finds the segments.
        if (tables.size() > 1 && !isCharacterLevel(tables[1])) {
            err() << configName << ": the first step between segments is not of single characters\n";
            return false;
        }
        if (int(tables.size()) > files) {
            err() << configName << ": needs " << tables.size() << " tables, only " << files << " are built in\n";
            return false;
        }
        tables.resize(std::size_t(files));

        for (int i = 0; i < files; ++i) {
            QByteArray data;
            for (const auto &[source, target] : tables[std::size_t(i)]) {
                // A character that stays itself changes nothing between segments.
                if (i > 0 && source == target && source.size() <= charLength(source, 0))
                    continue;
                data += source.toUtf8() + '\t' + target.toUtf8() + '\n';
            }
            QFile out(outputDir + QLatin1Char('/') + name + QLatin1Char('.') + QString::number(i) + QStringLiteral(".txt"));
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size()) {
                err() << out.fileName() << ": " << out.errorString() << '\n';
                return false;
            }
        }
        return true;
    }

private:
    QJsonObject readConfig(const QString &name)
    {
        QFile file(m_dataDir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << file.fileName() << ": " << file.errorString() << '\n';
            return {};
        }
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    bool readGroup(const QJsonObject &dict, Group *group)
    {
        const QString type = dict.value(QLatin1String("type")).toString();
        if (type == QLatin1String("group")) {
            const QJsonArray members = dict.value(QLatin1String("dicts")).toArray();
            for (const QJsonValue &member : members) {
                if (!readGroup(member.toObject(), group))
                    return false;
            }
            return true;
        }
        const QString file = dict.value(QLatin1String("file")).toString();
        if (type != QLatin1String("ocd2") || file.isEmpty()) {
            err() << "unsupported dictionary " << type << ' ' << file << '\n';
            return false;
        }
        auto loaded = load(file);
        if (!loaded)
            return false;
        group->push_back(std::move(loaded));
        return true;
    }

    std::shared_ptr<const Dictionary> load(const QString &ocd2Name)
    {
        if (const auto it = m_loaded.constFind(ocd2Name); it != m_loaded.constEnd())
            return it.value();

        const QString textPath = m_workDir + QLatin1Char('/') + QString(ocd2Name).replace(QLatin1String(".ocd2"), QLatin1String(".txt"));
        QProcess dump;
        dump.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dump.setStandardOutputFile(QProcess::nullDevice());
        dump.start(m_openccDict, {QStringLiteral("-i"), m_dataDir + QLatin1Char('/') + ocd2Name, QStringLiteral("-o"), textPath, QStringLiteral("-f"), QStringLiteral("ocd2"), QStringLiteral("-t"), QStringLiteral("text")});
        if (!dump.waitForFinished(-1) || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
            err() << m_openccDict << " failed on " << ocd2Name << '\n';
            return nullptr;
        }

        QFile file(textPath);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << textPath << ": " << file.errorString() << '\n';
            return nullptr;
        }
        auto dict = std::make_shared<Dictionary>();
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const int tab = line.indexOf('\t');
            if (tab <= 0)
                continue;
            const QString key = QString::fromUtf8(line.left(tab));
            // OpenCC lists alternatives separated by spaces; it converts to the first.
            const QString target = QString::fromUtf8(line.mid(tab + 1)).section(QLatin1Char(' '), 0, 0);
            if (target.isEmpty())
                continue;
            dict->entries.insert(key, target);
            dict->maxLength = std::max(dict->maxLength, int(key.size()));
        }
        if (dict->entries.isEmpty()) {
            err() << ocd2Name << ": no entries\n";
            return nullptr;
        }
        m_loaded.insert(ocd2Name, dict);
        return dict;
    }

    QString m_openccDict;
    QString m_dataDir;
    QString m_workDir;
    QHash<QString, std::shared_ptr<const Dictionary>> m_loaded;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool filesOk = false;
    const int files = args.size() > 5 ? args.at(5).toInt(&filesOk) : 0;
    if (args.size() < 7 || !filesOk || files < 1) {
        err() << "usage: zhtablegen <opencc_dict> <data dir> <work dir> <output dir> <files> NAME=CONFIG.json...\n";
        return 2;
    }
    QDir().mkpath(args.at(3));
    QDir().mkpath(args.at(4));
    Generator generator(args.at(1), args.at(2), args.at(3));
    for (int i = 6; i < args.size(); ++i) {
        const QString name = args.at(i).section(QLatin1Char('='), 0, 0);
        const QString config = args.at(i).section(QLatin1Char('='), 1);
        if (name.isEmpty() || config.isEmpty()) {
            err() << "bad table " << args.at(i) << '\n';
            return 2;
        }
        if (!generator.writeTables(config, args.at(4), name, files))
            return 1;
    }
    return 0;
}
