#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The upload actions: account or keys, bucket, public address and how objects are named. The
// fields differ only in which attributes they store, so one panel serves every service.
class UploadCloudViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    struct Field {
        const char *attribute;
        const char *labelKey;
        const char *tipKey;
        bool secret;
    };

    UploadCloudViewController(const QList<Field> &fields, bool withNaming, QWidget *parent = nullptr);

    static UploadCloudViewController *weibo(QWidget *parent);
    static UploadCloudViewController *qiniu(QWidget *parent);
    static UploadCloudViewController *ali(QWidget *parent);
    static UploadCloudViewController *tencent(QWidget *parent);
    static UploadCloudViewController *upYun(QWidget *parent);
};
