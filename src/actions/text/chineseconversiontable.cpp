#include "actions/text/chineseconversiontable.h"

#include <QByteArray>

#include <algorithm>
#include <deque>
#include <new>

void ChineseConversionTable::Builder::addText(const QByteArray &utf8, bool fallback)
{
    // Tab and line feed are single units in UTF-16 as in UTF-8, so the lines can be split after
    // decoding the whole text at once.
    const QString text = QString::fromUtf8(utf8);
    const quint32 textIndex = quint32(m_texts.size());
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringView line = QStringView(text).sliced(lineStart, lineEnd - lineStart);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0 && line.indexOf(QLatin1Char('\t'), tab + 1) < 0) {
            m_entries.push_back({textIndex, quint32(lineStart), quint32(tab), quint32(lineStart + tab + 1),
                                 quint32(line.size() - tab - 1), fallback});
        }
        lineStart = lineEnd + 1;
    }
    m_texts.push_back(text);
    m_textEnds.push_back(m_entries.size());
}

QStringView ChineseConversionTable::Builder::source(const Entry &entry) const
{
    return QStringView(m_texts[entry.text]).sliced(entry.source, entry.sourceLength);
}

QStringView ChineseConversionTable::Builder::target(const Entry &entry) const
{
    return QStringView(m_texts[entry.text]).sliced(entry.target, entry.targetLength);
}

ChineseConversionTable ChineseConversionTable::Builder::build() const
{
    const auto less = [this](const Entry *a, const Entry *b) {
        const int order = source(*a).compare(source(*b));
        return order < 0 || (order == 0 && a->fallback && !b->fallback);
    };
    std::vector<const Entry *> sorted;
    sorted.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        sorted.push_back(&entry);
    // Stable, so that among equal sources the one read last is also last here and wins. Each
    // text usually comes sorted already, and the texts are merged in the order they were read.
    std::size_t textStart = 0;
    for (const std::size_t textEnd : m_textEnds) {
        if (!std::is_sorted(sorted.begin() + textStart, sorted.begin() + textEnd, less))
            std::stable_sort(sorted.begin() + textStart, sorted.begin() + textEnd, less);
        std::inplace_merge(sorted.begin(), sorted.begin() + textStart, sorted.begin() + textEnd, less);
        textStart = textEnd;
    }
    std::vector<const Entry *> entries;
    entries.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i + 1 < sorted.size() && source(*sorted[i + 1]) == source(*sorted[i]))
            continue;
        entries.push_back(sorted[i]);
    }
    sorted = {};

    ChineseConversionTable table;
    if (entries.empty())
        return table;

    std::vector<quint32> targetOffsets;
    targetOffsets.reserve(entries.size() + 1);
    targetOffsets.push_back(0);
    std::size_t targetUnits = 0;
    for (const Entry *entry : entries)
        targetUnits += entry->targetLength;
    table.m_targetUnits.reserve(targetUnits);
    for (const Entry *entry : entries) {
        const QStringView units = target(*entry);
        table.m_targetUnits.insert(table.m_targetUnits.end(), units.utf16(), units.utf16() + units.size());
        targetOffsets.push_back(quint32(table.m_targetUnits.size()));
        table.m_maxSourceLength = std::max(table.m_maxSourceLength, qsizetype(entry->sourceLength));
        for (const QChar unit : source(*entry))
            table.m_used[unit.unicode()] = true;
        const char16_t first = source(*entry).at(0).unicode();
        table.m_starts[first / 64] |= quint64(1) << (first % 64);
    }
    table.m_entryCount = qsizetype(entries.size());
    std::vector<quint32> rootOf(0x10000, noChild);
    // A node for every prefix: sorted, each source adds those past what it shares with the one
    // before. Reserved at once, the arrays are never moved while the table is being built.
    std::size_t nodeCount = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QStringView current = source(*entries[i]);
        qsizetype shared = 0;
        if (i > 0) {
            const QStringView previous = source(*entries[i - 1]);
            while (shared < qMin(current.size(), previous.size()) && current[shared] == previous[shared])
                ++shared;
        }
        nodeCount += std::size_t(current.size() - shared);
    }
    table.m_nodes.reserve(nodeCount);
    table.m_labels.reserve(nodeCount);

    // Breadth first over runs of entries sharing a prefix: a run's children are made together,
    // so they sit side by side. parent is an index into m_nodes, or -1 for the root.
    struct Run {
        qint64 parent;
        std::size_t begin;
        std::size_t end;
        qsizetype depth;
    };
    std::deque<Run> runs{{-1, 0, entries.size(), 0}};
    while (!runs.empty()) {
        Run run = runs.front();
        runs.pop_front();
        if (run.parent >= 0 && qsizetype(entries[run.begin]->sourceLength) == run.depth) {
            Node &parent = table.m_nodes[std::size_t(run.parent)];
            parent.targetOffset = targetOffsets[run.begin];
            parent.targetLength = (targetOffsets[run.begin + 1] - targetOffsets[run.begin] + 1)
                | (entries[run.begin]->fallback ? fallbackBit : 0);
            ++run.begin;
        }
        const quint32 firstChild = quint32(table.m_nodes.size());
        for (std::size_t i = run.begin; i < run.end;) {
            const char16_t unit = source(*entries[i]).at(run.depth).unicode();
            std::size_t j = i + 1;
            while (j < run.end && source(*entries[j]).at(run.depth).unicode() == unit)
                ++j;
            const qint64 child = qint64(table.m_nodes.size());
            table.m_nodes.push_back(Node());
            table.m_labels.push_back(unit);
            if (run.parent < 0)
                rootOf[unit] = quint32(child);
            runs.push_back({child, i, j, run.depth + 1});
            i = j;
        }
        if (run.parent >= 0) {
            Node &parent = table.m_nodes[std::size_t(run.parent)];
            parent.firstChild = firstChild;
            parent.childCount = quint32(table.m_nodes.size()) - firstChild;
        }
    }
    table.m_rootNodes.reset(static_cast<Node *>(std::calloc(0x10000, sizeof(Node))));
    if (!table.m_rootNodes)
        throw std::bad_alloc();
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (rootOf[unit] != noChild)
            table.m_rootNodes[unit] = table.m_nodes[rootOf[unit]];
    }
    return table;
}

void ChineseConversionTable::convert(const QChar *text, qsizetype size, QString &out) const
{
    qsizetype pos = 0;
    qsizetype copyFrom = 0;
    while (pos < size) {
        Target target;
        const qsizetype length = match(text + pos, size - pos, &target);
        if (length == 0) {
            ++pos;
            continue;
        }
        out.append(text + copyFrom, pos - copyFrom);
        appendTarget(target, out);
        pos += length;
        copyFrom = pos;
    }
    out.append(text + copyFrom, pos - copyFrom);
}
