#pragma once

#include "korvanepasteboard.h"

#include <QString>
#include <QByteArray>
#include <QList>

// Turns the command line's INPUT arguments into pasteboard items, in order: paths become
// file items (folders with a trailing slash), --text, --text-file, --rtf and --image the
// matching data items.
class KorvaneCliInput final
{
public:
    // Consumes the input arguments of args; the rest stays in args. False with a one-line
    // reason on a usage error.
    bool parse(QList<QByteArray> *args, QString *error);
    static QByteArray fileUrlForPath(const QByteArray &path);
    const KorvanePasteboard &pasteboard() const { return m_pasteboard; }
    bool isEmpty() const { return m_pasteboard.pasteboardItems().isEmpty(); }

private:
    bool addTextFile(const QString &path, QString *error);
    bool addFile(KorvanePasteboardType type, const QString &path, QString *error);

    KorvanePasteboard m_pasteboard;
};
