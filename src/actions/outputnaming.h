#pragma once

#include <QString>
#include <QUrl>

// The rules by which actions name what they write: output folders and files, sizes, keys of
// uploaded objects, letters of a rename.
class OutputNaming final
{
public:
    static QUrl savePathUrl(const QString &path);
    static QString destFile(const QUrl &folder, const QUrl &sourceUrl, const QString &endName);
    static QString destFile(const QString &path);
    static QString sizeText(qint64 bytes);
    static QString urlEncoded(const QString &string);

    // The letter index places after the start letter, wrapping from "z" to "a", in the start
    // letter's case; no start letter counts as "a".
    static QString letterAt(const QString &startLetter, qint64 index);
    // Five characters from "0"-"9" and "a"-"z", drawn independently and evenly.
    static QString randomKey();
};
