#include "shell/editor/uploadcloudviewcontroller.h"

#include <QLineEdit>

UploadCloudViewController::UploadCloudViewController(const QList<Field> &fields, bool withNaming, QWidget *parent)
    : BaseSettingViewController(parent)
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

UploadCloudViewController *UploadCloudViewController::weibo(QWidget *parent)
{
    return new UploadCloudViewController({{"weiboAccount", "weiboAccount", "weiboAccountTip", false},
                                          {"weiboPassWord", "weiboPassWord", "weiboPassWordTip", true}},
                                         false, parent);
}

UploadCloudViewController *UploadCloudViewController::qiniu(QWidget *parent)
{
    return new UploadCloudViewController({{"qiniuAccessKey", "cloudAccessKey", "cloudAccessKeyTip", false},
                                          {"qiniuSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                          {"qiniuSpaceName", "cloudBucket", "cloudBucketTip", false},
                                          {"qiniuDomain", "cloudDomain", "cloudDomainTip", false}},
                                         true, parent);
}

UploadCloudViewController *UploadCloudViewController::ali(QWidget *parent)
{
    return new UploadCloudViewController({{"aliAccessKey", "cloudAccessKey", "cloudAccessKeyTip", false},
                                          {"aliSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                          {"aliSpaceName", "cloudBucket", "cloudBucketTip", false},
                                          {"aliDomain", "cloudDomain", "cloudDomainTip", false}},
                                         true, parent);
}

UploadCloudViewController *UploadCloudViewController::tencent(QWidget *parent)
{
    return new UploadCloudViewController({{"tencentAccessKey", "cloudSecretId", "cloudSecretIdTip", false},
                                          {"tencentSecretKey", "cloudSecretKey", "cloudSecretKeyTip", true},
                                          {"tencentSpaceName", "cloudBucket", "tencentBucketTip", false},
                                          {"tencentDomain", "cloudDomain", "cloudDomainTip", false}},
                                         true, parent);
}

UploadCloudViewController *UploadCloudViewController::upYun(QWidget *parent)
{
    return new UploadCloudViewController({{"admin", "upOperator", "upOperatorTip", false},
                                          {"secretCode", "upPassword", "upPasswordTip", true},
                                          {"bucketName", "cloudBucket", "cloudBucketTip", false},
                                          {"upDomain", "cloudDomain", "cloudDomainTip", false}},
                                         true, parent);
}
