#pragma once

#include "shell/editor/formsettingspanel.h"

// The upload actions: account or keys, bucket, public address and how objects are named. The
// fields differ only in which attributes they store, so one panel serves every service.
class CloudUploadPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    struct Field {
        const char *attribute;
        const char *labelKey;
        const char *tipKey;
        bool secret;
    };

    CloudUploadPanel(const QList<Field> &fields, bool withNaming, QWidget *parent = nullptr);

    static CloudUploadPanel *weibo(QWidget *parent);
    static CloudUploadPanel *qiniu(QWidget *parent);
    static CloudUploadPanel *ali(QWidget *parent);
    static CloudUploadPanel *tencent(QWidget *parent);
    static CloudUploadPanel *upYun(QWidget *parent);
};
