#pragma once

#include "korvanesingleinstance.h"

// The session bus name com.korvane.Korvane: whoever owns it is the running Korvane.
class DBusSingleInstance final : public KorvaneSingleInstance
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.korvane.Korvane")

public:
    using KorvaneSingleInstance::KorvaneSingleInstance;

    static constexpr QLatin1String ServiceName{"com.korvane.Korvane"};
    static constexpr QLatin1String ObjectPath{"/com/korvane/Korvane"};

    bool claim() override;
    bool forward(const QString &request) override;

public Q_SLOTS:
    void Open(const QString &request);
};
