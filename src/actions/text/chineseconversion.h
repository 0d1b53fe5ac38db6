#pragma once

#include "actions/text/chineseconversiontable.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

// One conversion between Chinese scripts, made of the tables the table generator writes for
// one of OpenCC's configurations, and giving the same text as that configuration. The text is
// first normalized character by character (compatibility ideographs to unified ones). Then one
// walk cuts it into segments, each converted whole by its entry; the text between segments
// goes through the single-character table of the walk and then through each step in turn, by
// longest match. Built once, then only read, so any number of threads may use it at once.
class ChineseConversion final
{
public:
    // tables: "[normalization]", "[segments]", "[characters]" and "[step]" heading lines, each
    // followed by "source\ttarget" lines. An unknown heading's lines are ignored.
    explicit ChineseConversion(const QByteArray &tables);

    bool isEmpty() const { return m_walk.isEmpty() && m_steps.empty(); }

    // Characters without an entry are copied unchanged. The whole result is held in memory.
    QString convert(const QString &text) const;

    // Converts UTF-8 from input to output in pieces of about pieceBytes, so memory stays small
    // whatever the length, with the same result as converting the whole text at once. The
    // result's first piece is also left in *beginning when given. Returns false when reading or
    // writing fails.
    bool convert(QIODevice &input, QIODevice &output, qsizetype pieceBytes, QString *beginning = nullptr) const;

private:
    QString normalized(const QString &text) const;
    void convertSteps(const QString &text, QString &out, QString (&scratch)[2]) const;
    qsizetype convert(const QChar *text, qsizetype size, bool atEnd, QString &out) const;

    ChineseConversionTable m_normalization;
    ChineseConversionTable m_walk;
    std::vector<ChineseConversionTable> m_steps;
    // Units in no source of any table, after which the text may be cut when more is to come.
    std::vector<bool> m_inert;
};
