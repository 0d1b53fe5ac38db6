#include "shell/editor/clouduploadpanel.h"

#include <QLineEdit>

CloudUploadPanel::CloudUploadPanel(const QList<Field> &fields, bool withNaming, QWidget *parent)
    : FormSettingsPanel(parent)
{
    for (const Field &field : fields) {
        QLineEdit *edit = addTextField(qtTrId(field.labelKey), QString::fromLatin1(field.attribute),
                                       qtTrId(field.tipKey), field.secret);
        edit->setObjectName(QString::fromLatin1(field.attribute));
    }
    if (withNaming)
        addMenu(qtTrId("uploadNaming"), QStringLiteral("suffixType"),
                {qtTrId("uploadNamingKeep"), qtTrId("uploadNamingDate"), qtTrId("uploadNamingRandom")},
                qtTrId("uploadNamingTip"));
}

CloudUploadPanel *CloudUploadPanel::weibo(QWidget *parent)
{
    return new CloudUploadPanel({{"weiboAccount", "weiboAccount", "weiboAccountTip", false},
                                 {"weiboPassWord", "weiboPassWord", "weiboPassWordTip", true}},
                                false, parent);
}

CloudUploadPanel *CloudUploadPanel::qiniu(QWidget *parent)
{
    return new CloudUploadPanel({{"qiniuAccessKey", "cloudAccessKey", "cloudAccessKeyTip", false},
                                 {"qiniuSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                 {"qiniuSpaceName", "cloudBucket", "cloudBucketTip", false},
                                 {"qiniuDomain", "cloudDomain", "cloudDomainTip", false}},
                                true, parent);
}

CloudUploadPanel *CloudUploadPanel::ali(QWidget *parent)
{
    return new CloudUploadPanel({{"aliAccessKey", "cloudAccessKey", "cloudAccessKeyTip", false},
                                 {"aliSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                 {"aliSpaceName", "cloudBucket", "cloudBucketTip", false},
                                 {"aliDomain", "cloudDomain", "cloudDomainTip", false}},
                                true, parent);
}

CloudUploadPanel *CloudUploadPanel::tencent(QWidget *parent)
{
    return new CloudUploadPanel({{"tencentAccessKey", "cloudSecretId", "cloudSecretIdTip", false},
                                 {"tencentSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                 {"tencentSpaceName", "cloudBucket", "tencentBucketTip", false},
                                 {"tencentDomain", "cloudDomain", "cloudDomainTip", false}},
                                true, parent);
}

CloudUploadPanel *CloudUploadPanel::upYun(QWidget *parent)
{
    return new CloudUploadPanel({{"admin", "upOperator", "upOperatorTip", false},
                                 {"secretCode", "upPassword", "upPasswordTip", true},
                                 {"bucketName", "cloudBucket", "cloudBucketTip", false},
                                 {"upDomain", "cloudDomain", "cloudDomainTip", false}},
                                true, parent);
}
