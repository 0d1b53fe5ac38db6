#pragma once

#include <QString>

#include <vector>

class QByteArray;

// One conversion table as a trie over UTF-16 units: walking it forward from a position finds
// the longest source there in a single pass, however long the longest source is. Built once,
// then only read, so any number of threads may convert with it at the same time.
class ChineseConversionTable final
{
public:
    // Entries are "source\ttarget" lines; a line that does not split into exactly two fields is
    // skipped, and when a source repeats, the entry read last wins. Entries of a fallback text
    // match only where no other source does, and lose to any other entry of the same source.
    class Builder final
    {
    public:
        void addText(const QByteArray &utf8, bool fallback = false);
        ChineseConversionTable build() const;

    private:
        // Fields are kept as places in the decoded texts, not as strings of their own: a table
        // has tens of thousands of entries and is built while the process is starting.
        struct Entry
        {
            quint32 text;
            quint32 source;
            quint32 sourceLength;
            quint32 target;
            quint32 targetLength;
            bool fallback;
        };
        QStringView source(const Entry &entry) const;
        QStringView target(const Entry &entry) const;

        std::vector<QString> m_texts;
        std::vector<Entry> m_entries;
        std::vector<std::size_t> m_textEnds;
    };

    bool isEmpty() const { return m_nodes.empty(); }
    qsizetype entryCount() const { return qsizetype(m_targetOffsets.size()) - 1; }
    qsizetype maxSourceLength() const { return m_maxSourceLength; }

    // Length of the longest source at the start of text[0, size), 0 when none; *target is
    // then the entry to append with appendTarget.
    // A fallback entry is only the answer where no other source matches; *fallback tells.
    qsizetype match(const QChar *text, qsizetype size, quint32 *target, bool *fallback = nullptr) const;
    void appendTarget(quint32 target, QString &out) const;
    // Whether the unit is in no source at all: a match never reaches over it, and it is copied
    // as it is.
    bool isInert(char16_t unit) const { return !m_used[unit]; }

    // Converts text[0, size) by greedy longest match and appends the result to out.
    void convert(const QChar *text, qsizetype size, QString &out) const;

private:
    static constexpr quint32 noTarget = 0xffffffffu;
    static constexpr quint32 fallbackBit = 0x80000000u;

    // A node's children lie next to each other in m_nodes and m_labels, sorted by label.
    struct Node
    {
        quint32 firstChild = 0;
        quint32 childCount = 0;
        quint32 target = noTarget;
    };

    quint32 findChild(const Node &node, char16_t unit) const;

    // Index + 1 of the node for each first unit, 0 where no source starts with it.
    std::vector<quint32> m_root;
    std::vector<Node> m_nodes;
    std::vector<char16_t> m_labels;
    std::vector<quint32> m_targetOffsets;
    std::vector<char16_t> m_targetUnits;
    std::vector<bool> m_used = std::vector<bool>(0x10000, false);
    // One bit per unit that starts a source: most units start none, and this answers from the
    // cache where m_root would not.
    std::vector<quint64> m_starts = std::vector<quint64>(0x10000 / 64, 0);
    qsizetype m_maxSourceLength = 0;
};
