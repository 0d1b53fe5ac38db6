#pragma once

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <memory>
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
        struct Entry {
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
    qsizetype entryCount() const { return m_entryCount; }
    qsizetype maxSourceLength() const { return m_maxSourceLength; }

    // Where an entry's target lies, for appendTarget.
    struct Target {
        quint32 offset = 0;
        quint32 length = 0;
    };
    // Length of the longest source at the start of text[0, size), 0 when none, with its
    // target. A fallback entry is only the answer where no other source matches; *fallback
    // tells.
    qsizetype match(const QChar *text, qsizetype size, Target *target, bool *fallback = nullptr) const;
    void appendTarget(Target target, QString &out) const
    {
        out.append(reinterpret_cast<const QChar *>(m_targetUnits.data() + target.offset), qsizetype(target.length));
    }
    // Whether the unit is in no source at all: a match never reaches over it, and it is copied
    // as it is.
    bool isInert(char16_t unit) const { return !m_used[unit]; }
    bool startsSource(char16_t unit) const { return m_starts[unit / 64] & (quint64(1) << (unit % 64)); }

    // Converts text[0, size) by greedy longest match and appends the result to out.
    void convert(const QChar *text, qsizetype size, QString &out) const;

private:
    static constexpr quint32 noChild = 0xffffffffu;
    static constexpr quint32 fallbackBit = 0x80000000u;

    // A node's children lie next to each other in m_nodes and m_labels, sorted by label. Its
    // target is in the node itself, so that a match costs no further lookup.
    struct Node {
        quint32 firstChild = 0;
        quint32 childCount = 0;
        quint32 targetOffset = 0;
        // The target's length + 1, 0 when no source ends here; fallbackBit marks a fallback
        // entry. A node of zero bytes is an empty one.
        quint32 targetLength = 0;
    };
    struct Free {
        void operator()(Node *nodes) const { std::free(nodes); }
    };

    quint32 findChild(const Node &node, char16_t unit) const;

    // The nodes of the first units, by unit: a walk starts with one load, not two. Allocated
    // zeroed, so the pages of units no source starts with are never touched.
    std::unique_ptr<Node[], Free> m_rootNodes;
    std::vector<Node> m_nodes;
    std::vector<char16_t> m_labels;
    std::vector<char16_t> m_targetUnits;
    std::vector<bool> m_used = std::vector<bool>(0x10000, false);
    // One bit per unit that starts a source: most units start none, and this answers from the
    // cache where m_rootNodes would not.
    std::vector<quint64> m_starts = std::vector<quint64>(0x10000 / 64, 0);
    qsizetype m_entryCount = 0;
    qsizetype m_maxSourceLength = 0;
};

// The walk is defined here so that the converter's loop can have it inline: it runs for every
// character of the text.
inline quint32 ChineseConversionTable::findChild(const Node &node, char16_t unit) const
{
    const char16_t *first = m_labels.data() + node.firstChild;
    const char16_t *last = first + node.childCount;
    const char16_t *found = node.childCount <= 8 ? std::find(first, last, unit) : std::lower_bound(first, last, unit);
    if (found == last || *found != unit)
        return noChild;
    return quint32(found - m_labels.data());
}

inline qsizetype ChineseConversionTable::match(const QChar *text, qsizetype size, Target *target, bool *fallback) const
{
    const char16_t first = text[0].unicode();
    if (!startsSource(first))
        return 0;
    const Node *node = &m_rootNodes[first];
    const Node *best = nullptr;
    qsizetype bestLength = 0;
    const Node *fallbackNode = nullptr;
    qsizetype fallbackLength = 0;
    for (qsizetype length = 1;; ++length) {
        if (node->targetLength != 0) {
            if (node->targetLength & fallbackBit) {
                fallbackNode = node;
                fallbackLength = length;
            } else {
                best = node;
                bestLength = length;
            }
        }
        if (node->childCount == 0 || length >= size)
            break;
        const quint32 child = findChild(*node, text[length].unicode());
        if (child == noChild)
            break;
        node = &m_nodes[child];
    }
    const bool isFallback = bestLength == 0;
    if (isFallback) {
        best = fallbackNode;
        bestLength = fallbackLength;
    }
    if (best)
        *target = {best->targetOffset, (best->targetLength & ~fallbackBit) - 1};
    if (fallback)
        *fallback = isFallback;
    return bestLength;
}
