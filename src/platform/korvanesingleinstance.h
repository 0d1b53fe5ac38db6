#pragma once

#include <QObject>
#include <QString>

// Korvane runs once per desktop session: the first start claims the session, a later one
// hands its request to it and leaves.
class KorvaneSingleInstance : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // True when this process is now the one; false when another one already is.
    virtual bool claim() = 0;
    // Gives the running one a request ("" for a plain start, or a tab: "editor", "general",
    // "about"); false when none answered.
    virtual bool forward(const QString &request) = 0;

Q_SIGNALS:
    void requested(const QString &request);
};
