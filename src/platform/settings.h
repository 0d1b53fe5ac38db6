#pragma once

#include "platform/platform.h"
#include "platform/settingsbackend.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <utility>

namespace Korvane {

// One user default: its key in korvane.conf, the type it is read as and the value used in its
// place. A stored value that cannot be read as that type, or that the setting's check turns
// down, gives the default as well.
template<typename T>
class Setting final
{
public:
    // What a readable stored value becomes, or nothing to fall back to the default.
    using Check = std::optional<T> (*)(const T &stored);

    Setting(const QString &key, T defaultValue, Check check = nullptr)
        : m_key(key)
        , m_default(std::move(defaultValue))
        , m_check(check)
    {
    }

    QString key() const { return m_key; }
    T defaultValue() const { return m_default; }

    // Whether anything is stored under the key, readable or not.
    bool isSet() const { return Platform::settingsBackend()->value(m_key).isValid(); }
    std::optional<T> stored() const { return stored(*Platform::settingsBackend()); }
    std::optional<T> stored(const SettingsBackend &from) const
    {
        const QVariant value = from.value(m_key);
        if (!value.isValid())
            return std::nullopt;
        const std::optional<T> read = convert(value);
        return read && m_check ? m_check(*read) : read;
    }
    T read() const { return stored().value_or(m_default); }
    void write(const T &value) const { Platform::settingsBackend()->setValue(m_key, toVariant(value)); }
    void remove() const { Platform::settingsBackend()->remove(m_key); }

private:
    std::optional<T> convert(const QVariant &value) const;
    static QVariant toVariant(const T &value) { return QVariant::fromValue(value); }

    QString m_key;
    T m_default;
    Check m_check;
};

// Booleans are "true"/"false" or "1"/"0", any case; integers are decimal. Anything else is
// logged and gives the default.
template<>
std::optional<bool> Setting<bool>::convert(const QVariant &value) const;
template<>
std::optional<int> Setting<int>::convert(const QVariant &value) const;
template<>
std::optional<QString> Setting<QString>::convert(const QVariant &value) const;
template<>
std::optional<QStringList> Setting<QStringList>::convert(const QVariant &value) const;
template<>
std::optional<QDateTime> Setting<QDateTime>::convert(const QVariant &value) const;
// A key code and its modifier flags, stored as a list of the two numbers.
using StoredShortcut = std::pair<quint32, quint32>;
template<>
std::optional<StoredShortcut> Setting<StoredShortcut>::convert(const QVariant &value) const;
template<>
QVariant Setting<StoredShortcut>::toVariant(const StoredShortcut &value);

namespace SettingChecks {
// A number above 0.
std::optional<int> positive(const int &stored);
// The text without surrounding white space, when any is left.
std::optional<QString> filled(const QString &stored);
} // namespace SettingChecks

// Every user default Korvane reads or writes, with its default. The keys are kept as spelled
// ("muteNotifi", "noAutoLaunch", ...), misspellings included: they are on disk in every user's
// korvane.conf and in exported settings, and a corrected key would lose the user's value.
namespace Settings {

// General settings.
inline const Setting<bool> hideIcon{QStringLiteral("hideIcon"), false};
inline const Setting<bool> muteSound{QStringLiteral("muteSound"), false};
inline const Setting<bool> noAutoLaunch{QStringLiteral("noAutoLaunch"), false};
// 1 mutes the actions' notifications.
inline const Setting<int> muteNotifi{QStringLiteral("muteNotifi"), 0};
// Whether the drop window opens whenever Korvane starts.
inline const Setting<bool> keepDropWindow{QStringLiteral("keepDropWindow"), false};
// Written at the first start, so its absence tells that start; [0, 0] is no hotkey.
// Super+Shift+K: no default shortcut of GNOME or Plasma, where Super+D shows the desktop.
inline const Setting<StoredShortcut> wakeHotKey{QStringLiteral("wakeHotKey"), {40, 1179648}};
// The action editor's guide was shown.
inline const Setting<bool> firstOpenPreference{QStringLiteral("firstOpenPreference"), false};
// A desktop without a tray was told how to reach Korvane.
inline const Setting<bool> noTrayNoticeShown{QStringLiteral("noTrayNoticeShown"), false};
// What the user was last told of each shortcut's binding, one "name=state" line each
// ("wakeHotKey=bound Ctrl+Alt+K"), so a change is told once and not at every start.
inline const Setting<QStringList> toldHotKeyBindings{QStringLiteral("toldHotKeyBindings"), {}};
// The desktop's preferred UI languages, most preferred first; empty: the system's.
inline const Setting<QStringList> appleLanguages{QStringLiteral("AppleLanguages"), {}};
inline const Setting<QString> aboutProjectUrl{QStringLiteral("about/projectUrl"), QStringLiteral("https://korvane.org")};

// Update check: the day of the last automatic check, "MM dd yyyy".
inline const Setting<QString> lastCheckUpdate{QStringLiteral("kLastCheckUpdate"), QString()};
inline const Setting<QString> updateDownloadUrl{QStringLiteral("update/downloadUrl"),
                                                QStringLiteral("https://korvane.org/download"),
                                                SettingChecks::filled};
inline const Setting<QString> updateChangeLogUrl{QStringLiteral("update/changeLogUrl"),
                                                 QStringLiteral("https://korvane.org/changelog"),
                                                 SettingChecks::filled};

// Network limits in milliseconds: how long a transfer may move no byte, and how long after the
// request's last byte its answer must be complete.
inline const Setting<int> transferTimeout{QStringLiteral("network/transferTimeout"), 30000,
                                          SettingChecks::positive};
inline const Setting<int> answerTimeout{QStringLiteral("network/answerTimeout"), 60000,
                                        SettingChecks::positive};

// Recognition: Tesseract's languages for offline OCR, and the app id sent with cloud OCR.
inline const Setting<QString> ocrLanguages{QStringLiteral("ocr/languages"), QStringLiteral("eng+chi_sim")};
inline const Setting<QString> ocrAppId{QStringLiteral("ocr/appid"), QStringLiteral("1257049364"),
                                       SettingChecks::filled};

// Translation through a LibreTranslate server, the user's rather than any action's.
inline const Setting<QString> libreTranslateUrl{QStringLiteral("translate/libretranslateUrl"), QString()};
inline const Setting<QString> libreTranslateKey{QStringLiteral("translate/libretranslateKey"), QString()};

// The Weibo login session: the " SUB=" cookie and when it stops being used.
inline const Setting<QString> weiboCookie{QStringLiteral("weiboCookie"), QString()};
inline const Setting<QDateTime> weiboCookieExpire{QStringLiteral("weiboCookieExpire"), QDateTime()};

// Where each outside service is reached, as a base URL ("scheme://host[:port]"), so that users
// and tests can point Korvane elsewhere. The product's own service has no public instance.
inline const Setting<QString> serviceHost{QStringLiteral("hosts/service"), QString()};
inline const Setting<QString> ocrHost{QStringLiteral("hosts/ocr"), QStringLiteral("https://recognition.image.myqcloud.com")};
inline const Setting<QString> cosServiceHost{QStringLiteral("hosts/cosService"), QStringLiteral("https://service.cos.myqcloud.com")};
inline const Setting<QString> cosDomainHost{QStringLiteral("hosts/cosDomain"), QStringLiteral("http://myqcloud.com")};
inline const Setting<QString> qiniuUploadHost{QStringLiteral("hosts/qiniuUpload"), QStringLiteral("https://upload.qiniup.com")};
inline const Setting<QString> qiniuUcHost{QStringLiteral("hosts/qiniuUc"), QStringLiteral("https://uc.qiniuapi.com")};
inline const Setting<QString> ossEndpointHost{QStringLiteral("hosts/ossEndpoint"), QStringLiteral("https://oss-cn-shanghai.aliyuncs.com")};
inline const Setting<QString> upyunHost{QStringLiteral("hosts/upyun"), QStringLiteral("https://v0.api.upyun.com")};
inline const Setting<QString> sinaLoginHost{QStringLiteral("hosts/sinaLogin"), QStringLiteral("https://login.sina.com.cn")};
inline const Setting<QString> weiboUploadHost{QStringLiteral("hosts/weiboUpload"), QStringLiteral("http://picupload.service.weibo.com")};
inline const Setting<QString> weiboImageHost{QStringLiteral("hosts/weiboImage"), QStringLiteral("http://ww1.sinaimg.cn")};
inline const Setting<QString> weiboHomeHost{QStringLiteral("hosts/weiboHome"), QStringLiteral("https://weibo.com")};

} // namespace Settings

} // namespace Korvane
