// Composes the conversion chains of the system's OpenCC configurations into single
// "source<TAB>target" tables that a greedy longest-match walk can apply in one pass.
//
//   zhtablegen <opencc_dict> <opencc data dir> <work dir> <output dir> zh2TW=s2twp.json ...
//
// OpenCC first cuts the text into segments by longest match on a segmentation dictionary, then
// runs every dictionary of its chain over each segment. One table reproduces that when each
// source is a segment OpenCC would make and its target is that segment run through the whole
// chain. The sources are the keys of the first dictionaries of the chain (they make the segments),
// plus the keys of later dictionaries, and what the first dictionaries turn into those keys,
// whenever treating such a string as one piece changes its conversion.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Dictionary
{
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

struct Chain
{
    Group segmentation;
    std::vector<Group> stages;

    // What OpenCC makes of the text on its own: matched segments, with the unmatched characters
    // between them gathered into segments of their own.
    QString convert(const QString &text) const
    {
        QStringList segments;
        int runStart = 0;
        for (int pos = 0; pos < text.size();) {
            const int matched = matchPrefix(segmentation, text, pos, text.size(), nullptr);
            if (matched == 0) {
                pos += charLength(text, pos);
                continue;
            }
            if (pos > runStart)
                segments << text.mid(runStart, pos - runStart);
            segments << text.mid(pos, matched);
            pos += matched;
            runStart = pos;
        }
        if (text.size() > runStart)
            segments << text.mid(runStart);

        QString result;
        for (QString segment : segments) {
            for (const Group &stage : stages)
                segment = convertSegment(stage, segment);
            result += segment;
        }
        return result;
    }

    QString convertByCharacter(const QString &text) const
    {
        QString result;
        for (int pos = 0; pos < text.size();) {
            const int length = charLength(text, pos);
            result += convert(text.mid(pos, length));
            pos += length;
        }
        return result;
    }
};

class Generator
{
public:
    Generator(QString openccDict, QString dataDir, QString workDir)
        : m_openccDict(std::move(openccDict))
        , m_dataDir(std::move(dataDir))
        , m_workDir(std::move(workDir))
    {
    }

    bool writeTable(const QString &configName, const QString &outputPath)
    {
        Chain chain;
        const QJsonObject config = readConfig(configName);
        if (config.isEmpty())
            return false;
        if (!readGroup(config.value(QLatin1String("segmentation")).toObject().value(QLatin1String("dict")).toObject(),
                       &chain.segmentation))
            return false;
        const QJsonArray stages = config.value(QLatin1String("conversion_chain")).toArray();
        for (const QJsonValue &stage : stages) {
            Group group;
            if (!readGroup(stage.toObject().value(QLatin1String("dict")).toObject(), &group))
                return false;
            chain.stages.push_back(std::move(group));
        }
        if (chain.stages.empty()) {
            err() << configName << ": no conversion chain\n";
            return false;
        }

        std::map<QString, QString> table;
        const Group &first = chain.stages.front();
        for (const auto &dict : first) {
            for (auto it = dict->entries.cbegin(); it != dict->entries.cend(); ++it)
                addSource(chain, it.key(), true, &table);
        }

        const QHash<QString, QStringList> sourcesOf = reverseCharacters(first);
        for (std::size_t i = 1; i < chain.stages.size(); ++i) {
            for (const auto &dict : chain.stages[i]) {
                for (auto it = dict->entries.cbegin(); it != dict->entries.cend(); ++it) {
                    for (const QString &source : spellingsBefore(it.key(), sourcesOf))
                        addSource(chain, source, false, &table);
                }
            }
        }

        QFile out(outputPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            err() << outputPath << ": " << out.errorString() << '\n';
            return false;
        }
        QByteArray data;
        for (const auto &[source, target] : table)
            data += source.toUtf8() + '\t' + target.toUtf8() + '\n';
        return out.write(data) == data.size();
    }

private:
    static void addSource(const Chain &chain, const QString &source, bool makesSegment,
                          std::map<QString, QString> *table)
    {
        if (table->count(source))
            return;
        const QString target = chain.convert(source);
        const bool multiCharacter = source.size() > charLength(source, 0);
        // A one-character entry that changes nothing only costs memory. A longer one that
        // changes nothing still matters when OpenCC keeps it as a segment: it stops a shorter
        // phrase from matching inside it.
        if (!multiCharacter && target == source)
            return;
        if (multiCharacter && !makesSegment && target == chain.convertByCharacter(source))
            return;
        table->emplace(source, target);
    }

    // The single characters of the first stage, from target back to sources; every character
    // is also its own source, for text already in the target form.
    static QHash<QString, QStringList> reverseCharacters(const Group &first)
    {
        QHash<QString, QStringList> sourcesOf;
        for (const auto &dict : first) {
            for (auto it = dict->entries.cbegin(); it != dict->entries.cend(); ++it) {
                if (it.key().size() <= charLength(it.key(), 0) && it.value().size() <= charLength(it.value(), 0))
                    sourcesOf[it.value()] << it.key();
            }
        }
        return sourcesOf;
    }

    // Every way of writing key before the first stage, one character at a time, bounded so
    // that keys of many ambiguous characters cannot explode.
    static QStringList spellingsBefore(const QString &key, const QHash<QString, QStringList> &sourcesOf)
    {
        constexpr int maxSpellings = 64;
        QStringList spellings{QString()};
        for (int pos = 0; pos < key.size();) {
            const int length = charLength(key, pos);
            const QString character = key.mid(pos, length);
            pos += length;
            QStringList choices = sourcesOf.value(character);
            if (!choices.contains(character))
                choices.prepend(character);
            QStringList next;
            for (const QString &prefix : std::as_const(spellings)) {
                for (const QString &choice : std::as_const(choices)) {
                    if (next.size() < maxSpellings)
                        next << prefix + choice;
                }
            }
            spellings = next;
        }
        return spellings;
    }

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
        dump.start(m_openccDict, {QStringLiteral("-i"), m_dataDir + QLatin1Char('/') + ocd2Name,
                                  QStringLiteral("-o"), textPath,
                                  QStringLiteral("-f"), QStringLiteral("ocd2"),
                                  QStringLiteral("-t"), QStringLiteral("text")});
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
    if (args.size() < 6) {
        err() << "usage: zhtablegen <opencc_dict> <data dir> <work dir> <output dir> NAME=CONFIG.json...\n";
        return 2;
    }
    QDir().mkpath(args.at(3));
    QDir().mkpath(args.at(4));
    Generator generator(args.at(1), args.at(2), args.at(3));
    for (int i = 5; i < args.size(); ++i) {
        const QString name = args.at(i).section(QLatin1Char('='), 0, 0);
        const QString config = args.at(i).section(QLatin1Char('='), 1);
        if (name.isEmpty() || config.isEmpty()) {
            err() << "bad table " << args.at(i) << '\n';
            return 2;
        }
        if (!generator.writeTable(config, args.at(4) + QLatin1Char('/') + name + QStringLiteral(".txt")))
            return 1;
    }
    return 0;
}
