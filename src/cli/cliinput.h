#pragma once

#include "intake/transferdata.h"

#include <QString>
#include <QByteArray>
#include <QList>

class QFile;

// Turns the command line's INPUT arguments into pasteboard items, in order: paths become
// file items (folders with a trailing slash), --text, --text-file, --rtf and --image the
// matching data items.
class CliInput final
{
public:
    // The most an --image input may hold; texts (--text-file, --rtf) have the text actions' limit.
    static constexpr qint64 MaximumImageBytes = qint64(256) << 20;

    // Consumes the input arguments of args; the rest stays in args. False with a one-line
    // reason on a usage error.
    bool parse(QList<QByteArray> *args, QString *error);
    // Whether parse failed on an input that could not be read, not on the command's form.
    bool isUnreadable() const { return m_unreadable; }
    static QByteArray fileUrlForPath(const QByteArray &path);
    // Opens a --text-file input naming a regular file to be read in pieces; one larger than
    // the text limit is refused before anything is read.
    static bool openTextFile(const QString &path, QFile *file, QString *error);
    const TransferData &pasteboard() const { return m_pasteboard; }
    bool isEmpty() const { return m_pasteboard.items().isEmpty(); }

private:
    bool addTextFile(const QString &path, QString *error);
    bool addFile(TransferType type, const QString &path, QString *error);

    TransferData m_pasteboard;
    bool m_unreadable = false;
};
