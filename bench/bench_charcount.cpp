// Character statistics of 50 MB of mixed Chinese and English text, in one process; the
// character count action does this on the text the user dropped.
#include "benchutil.h"
#include "actions/text/texttransforms.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString line = QStringLiteral("The quick brown fox jumps over 13 lazy dogs. 敏捷的棕色狐狸跳过了懒狗。 tab\there\n");
    const qsizetype targetBytes = 50 * 1000 * 1000;
    const qsizetype lineBytes = line.toUtf8().size();
    const QString text = line.repeated(targetBytes / lineBytes);
    qint64 words = 0;
    const double ms = medianMilliseconds(7, [&] {
        words = TextTransforms::characterStatistics(text).value(QStringLiteral("englishWordNum"));
    });
    std::printf("characterStatistics of %.1f MB UTF-8 (%lld UTF-16 units): median %.1f ms over 7 runs (target < 100 ms); %lld words\n",
                double(text.toUtf8().size()) / 1e6, qint64(text.size()), ms, words);
    return 0;
}
