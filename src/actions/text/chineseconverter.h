#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class ChineseConversion;
class QIODevice;

// Converts Chinese text between mainland simplified, Taiwan and Hong Kong traditional and the
// Singapore form as OpenCC 1.4.1's configurations do (s2twp, s2hk, t2s), with their data. Each
// conversion is one ".txt" resource at ":/" named by its key ("zh2TW", "zh2HK", "zh2SG",
// "zh2CN"), written by the table generator (see ChineseConversion). The shared converter finds
// the tables when it is first asked for; each conversion is built once, on its first use, under
// a once-only guard, and only read afterwards, so conversions may run on any number of threads.
// A missing table converts nothing.
class ChineseConverter final
{
public:
    // Indices of the tables; any other index selects zh2TW.
    enum DictIndex : qint32 { TW = 0,
                              HK = 1,
                              SG = 2,
                              CN = 3 };

    static ChineseConverter &sharedInstance();

    // Characters without an entry are copied unchanged. The whole result is held in memory;
    // for long texts read from a file, prefer the device overload.
    QString convert(const QString &text, qint32 dict) const;

    // Converts UTF-8 from input to output in pieces of about pieceBytes, so memory stays small
    // whatever the length. Pieces are cut where no source can straddle the cut, so the result is
    // the same as converting the whole text at once. The result's first piece is also left in
    // *beginning when given. Returns false when reading or writing fails.
    bool convert(QIODevice &input, QIODevice &output, qint32 dict, qsizetype pieceBytes = 64 * 1024,
                 QString *beginning = nullptr) const;

    static QString chineseStringTW(const QString &text);
    static QString chineseStringHK(const QString &text);
    static QString chineseStringSG(const QString &text);
    static QString chineseStringCN(const QString &text);

    // Resource paths loaded into each table, by key.
    QMap<QString, QStringList> dictFiles() const { return m_dictFiles; }

    ChineseConverter(const ChineseConverter &) = delete;
    ChineseConverter &operator=(const ChineseConverter &) = delete;
    ~ChineseConverter();

private:
    ChineseConverter();
    void initDicts();
    struct Table;
    const ChineseConversion &conversion(qint32 dict) const;

    QMap<QString, QStringList> m_dictFiles;
    QMap<QString, std::shared_ptr<Table>> m_dict;
};
