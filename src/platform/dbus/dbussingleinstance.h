#pragma once

#include "platform/singleinstance.h"

#include <QByteArrayList>
#include <QStringList>

// The session bus name com.korvane.Korvane: whoever owns it is the running Korvane. Its
// object answers Open(tab), Show(), ShowAction(dropID), Window() and Drop(types, data), the last with
// one type name ("file-url", "url", "png", "tiff", "text", "rtf") and its bytes per item.
class DBusSingleInstance final : public SingleInstance
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.korvane.Korvane")

public:
    using SingleInstance::SingleInstance;

    static constexpr QLatin1String ServiceName{"com.korvane.Korvane"};
    static constexpr QLatin1String ObjectPath{"/com/korvane/Korvane"};
    static constexpr char ActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
    static constexpr int MaximumActivationTokenLength = 4096;

    bool claim() override;
    bool isClaimed() override;
    bool forward(const QString &request) override;
    bool forwardShow() override;
    bool forwardShowAction(qint32 dropID) override;
    bool forwardDrop(const TransferData &pasteboard) override;
    bool forwardDropWindow() override;

public Q_SLOTS:
    // Comes before a request that opens a window, with the launcher's activation token.
    void TakeActivationToken(const QString &token);
    void Open(const QString &request);
    void Show();
    void ShowAction(int dropID);
    void Window();
    void Drop(const QStringList &types, const QByteArrayList &data);

private:
    bool call(const QString &method, const QVariantList &arguments);
};
