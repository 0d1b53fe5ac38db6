// Helper of bench/chinese-conversion.sh: converts a file as the opencc tool does, or compares
// two conversions of the same text.
//
//   zhconvert stream|string TW|HK|SG|CN|<table file> <input> <output>
//       prints "<milliseconds finding the tables> <milliseconds building the table and converting>";
//       a table file is one the table generator wrote for any of OpenCC's configurations
//   zhconvert compare <ours> <theirs>
//       prints the share of characters that agree and the number of differing lines, then
//       each differing line with its number

#include "actions/text/chineseconversion.h"
#include "actions/text/chineseconverter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <memory>
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

int convertFile(const QString &mode, const QString &table, const QString &inputPath, const QString &outputPath)
{
    QFile input(inputPath);
    QFile output(outputPath);
    if (!input.open(QIODevice::ReadOnly) || !output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out() << "cannot open " << inputPath << " or " << outputPath << Qt::endl;
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const int dict = dictIndex(table);
    const ChineseConverter &converter = ChineseConverter::sharedInstance();
    std::unique_ptr<ChineseConversion> chain;
    if (dict < 0) {
        QFile file(table);
        if (!file.open(QIODevice::ReadOnly)) {
            out() << "cannot open " << table << Qt::endl;
            return 1;
        }
        chain = std::make_unique<ChineseConversion>(file.readAll());
    }
    const qint64 loading = timer.elapsed();
    timer.restart();
    if (mode == QLatin1String("stream")) {
        if (!(chain ? chain->convert(input, output, 64 * 1024) : converter.convert(input, output, dict)))
            return 1;
    } else {
        const QString text = QString::fromUtf8(input.readAll());
        output.write((chain ? chain->convert(text) : converter.convert(text, dict)).toUtf8());
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

int compare(const QString &oursPath, const QString &theirsPath)
{
    const QStringList ours = readLines(oursPath);
    const QStringList theirs = readLines(theirsPath);
    if (ours.size() != theirs.size()) {
        out() << "line counts differ: ours " << ours.size() << ", opencc " << theirs.size() << Qt::endl;
        return 1;
    }
    qsizetype total = 0;
    qsizetype agreeing = 0;
    QStringList differing;
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
        const QString key = ours.at(i) + QLatin1Char('\n') + theirs.at(i);
        auto it = seen.find(key);
        if (it == seen.end())
            it = seen.insert(key, commonLength(a, b));
        agreeing += it.value();
        differing << QStringLiteral("line %1\n    ours:   %2\n    opencc: %3").arg(i + 1).arg(ours.at(i), theirs.at(i));
    }
    out() << QString::number(100.0 * double(agreeing) / double(qMax<qsizetype>(total, 1)), 'f', 4) << ' '
          << differing.size() << Qt::endl;
    for (const QString &line : std::as_const(differing))
        out() << line << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 4 && (args.at(0) == QLatin1String("stream") || args.at(0) == QLatin1String("string")))
        return convertFile(args.at(0), args.at(1), args.at(2), args.at(3));
    if (args.size() == 3 && args.at(0) == QLatin1String("compare"))
        return compare(args.at(1), args.at(2));
    out() << "usage: zhconvert stream|string TW|HK|SG|CN|<table file> <input> <output>\n"
             "       zhconvert compare <ours> <opencc>"
          << Qt::endl;
    return 2;
}
