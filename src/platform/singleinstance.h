#pragma once

#include "intake/transferdata.h"

#include <QObject>
#include <QString>

// Korvane runs once per desktop session: the first start claims the session, a later one
// hands its request to it and leaves. The requests are what a desktop binds to keys and
// file managers send: the wake popover, one action on the clipboard, a drop of files, the drop window.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // A drop handed over carries its data in one message: at most this many items and
    // bytes of text and image data.
    static constexpr int MaximumDropItems = 100000;
    static constexpr qint64 MaximumDropBytes = 24 * 1024 * 1024;

    // True when this process is now the one; false when another one already is.
    virtual bool claim() = 0;
    // True when another process has claimed the session.
    virtual bool isClaimed() = 0;
    // Gives the running one a request ("" for a plain start, or a tab: "editor", "general",
    // "about"); false when none answered.
    virtual bool forward(const QString &request) = 0;
    // What the wake hotkey does, on the running one.
    virtual bool forwardShow() = 0;
    // What the action's hotkey does, on the running one.
    virtual bool forwardShowAction(qint32 dropID) = 0;
    // What a drop of the pasteboard's items on the tray does, on the running one.
    virtual bool forwardDrop(const TransferData &pasteboard) = 0;
    // Opens or raises the drop window of the running one.
    virtual bool forwardDropWindow() = 0;

Q_SIGNALS:
    void requested(const QString &request);
    void showRequested();
    void showActionRequested(qint32 dropID);
    void dropRequested(const TransferData &pasteboard);
    void dropWindowRequested();
};
