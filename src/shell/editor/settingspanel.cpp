#include "settingspanel.h"

SettingsPanel::SettingsPanel(QWidget *parent)
    : QWidget(parent)
{
}

QString SettingsPanel::identifierForKind(qint64 catalog, qint64 type)
{
    static const char *const text[] = {"translationVC", "clearFormatVC", "charStatistic", "sendEmail", "sendMessage",
                                       "customURLVC", "chineseConverter", "numberCNConverter", "enCaseConvert", "airDropText"};
    static const char *const files[] = {"compressVC", "imageFormatVC", "resizeVC", "ocrVC", "removeMetaVC",
                                        "uploadImgVC", "addToPhoto", "airDrop", "moveTo", "copyTo",
                                        "sendEmail", "sendMessage", "uploadQiniu", "uploadAli", "uploadTencent",
                                        "uploadUP", "imageRotateVC", "renameVC"};
    if (catalog == 0 && type >= 0 && type < qint64(std::size(text)))
        return QString::fromLatin1(text[type]);
    if (catalog == 1 && type >= 0 && type < qint64(std::size(files)))
        return QString::fromLatin1(files[type]);
    return QString();
}
