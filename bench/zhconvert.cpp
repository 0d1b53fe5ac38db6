// Helper of bench/chinese-conversion.sh: converts a file as the opencc tool does, or compares
// two conversions of the same text.
//
//   zhconvert stream|string TW|HK|SG|CN <input> <output>
//       prints "<milliseconds finding the tables> <milliseconds building the table and converting>"
//   zhconvert compare <input> <ours> <theirs>
//       prints the share of characters that agree and the most frequent differences

#include "ncchineseconverter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

int dictIndex(const QString &name)
{
    static const QStringList names{QStringLiteral("TW"), QStringLiteral("HK"), QStringLiteral("SG"), QStringLiteral("CN")};
    return int(names.indexOf(name));
}

int convertFile(const QString &mode, int dict, const QString &inputPath, const QString &outputPath)
{
    QFile input(inputPath);
    QFile output(outputPath);
    if (!input.open(QIODevice::ReadOnly) || !output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out() << "cannot open " << inputPath << " or " << outputPath << Qt::endl;
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const NCChineseConverter &converter = NCChineseConverter::sharedInstance();
    const qint64 loading = timer.elapsed();
    timer.restart();
    if (mode == QLatin1String("stream")) {
        if (!converter.convert(input, output, dict))
            return 1;
    } else {
        const QString text = QString::fromUtf8(input.readAll());
        output.write(converter.convert(text, dict).toUtf8());
    }
    output.close();
    out() << loading << ' ' << timer.elapsed() << Qt::endl;
    return 0;
}

std::vector<char32_t> codePoints(const QString &line)
{
    const QList<uint> units = line.toUcs4();
    return std::vector<char32_t>(units.cbegin(), units.cend());
}

// Length of the longest common subsequence: how many characters of a line agree when the two
// conversions changed the length of a phrase differently.
qsizetype commonLength(const std::vector<char32_t> &a, const std::vector<char32_t> &b)
{
    std::vector<qsizetype> previous(b.size() + 1, 0);
    std::vector<qsizetype> current(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = a[i - 1] == b[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], current[j - 1]);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

int compare(const QString &inputPath, const QString &oursPath, const QString &theirsPath)
{
    const QStringList input = readLines(inputPath);
    const QStringList ours = readLines(oursPath);
    const QStringList theirs = readLines(theirsPath);
    if (ours.size() != theirs.size() || input.size() != theirs.size()) {
        out() << "line counts differ: input " << input.size() << ", ours " << ours.size() << ", opencc "
              << theirs.size() << Qt::endl;
        return 1;
    }
    qsizetype total = 0;
    qsizetype agreeing = 0;
    qsizetype lengthChanges = 0;
    QHash<QString, qsizetype> kinds;
    // The text repeats: a pair of differing lines is measured once, however often it occurs.
    QHash<QString, qsizetype> seen;
    for (qsizetype i = 0; i < theirs.size(); ++i) {
        const std::vector<char32_t> a = codePoints(ours.at(i));
        const std::vector<char32_t> b = codePoints(theirs.at(i));
        total += qsizetype(b.size());
        if (a == b) {
            agreeing += qsizetype(b.size());
            continue;
        }
        const std::vector<char32_t> source = codePoints(input.at(i));
        if (a.size() == b.size()) {
            for (std::size_t k = 0; k < a.size(); ++k) {
                if (a[k] == b[k]) {
                    ++agreeing;
                    continue;
                }
                QString kind;
                if (source.size() == a.size())
                    kind += QString::fromUcs4(&source[k], 1) + QStringLiteral(" → ");
                kind += QStringLiteral("ours ") + QString::fromUcs4(&a[k], 1) + QStringLiteral(", opencc ")
                    + QString::fromUcs4(&b[k], 1);
                ++kinds[kind];
            }
        } else {
            const QString key = ours.at(i) + QLatin1Char('\n') + theirs.at(i);
            auto it = seen.find(key);
            if (it == seen.end())
                it = seen.insert(key, commonLength(a, b));
            agreeing += it.value();
            ++lengthChanges;
        }
    }
    out() << QString::number(100.0 * double(agreeing) / double(qMax<qsizetype>(total, 1)), 'f', 3) << Qt::endl;
    std::vector<std::pair<qsizetype, QString>> sorted;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        sorted.emplace_back(it.value(), it.key());
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (std::size_t k = 0; k < std::min<std::size_t>(sorted.size(), 6); ++k)
        out() << "    " << sorted[k].first << "× " << sorted[k].second << Qt::endl;
    if (lengthChanges)
        out() << "    " << lengthChanges << " lines where a phrase was matched differently (lengths differ)" << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 4 && (args.at(0) == QLatin1String("stream") || args.at(0) == QLatin1String("string"))
        && dictIndex(args.at(1)) >= 0)
        return convertFile(args.at(0), dictIndex(args.at(1)), args.at(2), args.at(3));
    if (args.size() == 4 && args.at(0) == QLatin1String("compare"))
        return compare(args.at(1), args.at(2), args.at(3));
    out() << "usage: zhconvert stream|string TW|HK|SG|CN <input> <output>\n"
             "       zhconvert compare <input> <ours> <opencc>"
          << Qt::endl;
    return 2;
}
