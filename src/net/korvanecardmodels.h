#pragma once

#include <QMetaType>
#include <QString>

// The records the card and licence recognitions fill. Every string may be absent (null).

struct BankCardModel {
    QString number;
    QString type;
    QString cardName;
    QString bankName;
    QString expire;
};

struct BusinessLicenseModel {
    QString number;
    QString representative;
    QString company;
    QString address;
    QString expire;
    QString capital;
    QString scope;
    QString type;
    QString constitute;
};

struct IdCardFrontModel {
    qint64 code = 0;
    QString url;
    QString fileName;
    QString name;
    QString sex;
    QString nation;
    QString birth;
    QString address;
    QString cardId;
};

struct IdCardBackModel {
    qint64 code = 0;
    QString url;
    QString fileName;
    QString authority;
    QString validDate;
};

struct IdCardModel {
    IdCardFrontModel front;
    IdCardBackModel back;
};

struct BusinessCardModel {
    qint64 code = 0;
    QString url;
    QString fileName;
    QString realNameZh;
    QString realNameEn;
    QString positionZh;
    QString positionEn;
    QString sectionZh;
    QString companyZh;
    QString addressZh;
    QString sectionEn;
    QString companyEn;
    QString addressEn;
    QString email;
    QString mobile;
    QString phone;
    QString fax;
    QString qq;
};

Q_DECLARE_METATYPE(BankCardModel)
Q_DECLARE_METATYPE(BusinessLicenseModel)
Q_DECLARE_METATYPE(IdCardFrontModel)
Q_DECLARE_METATYPE(IdCardBackModel)
Q_DECLARE_METATYPE(IdCardModel)
Q_DECLARE_METATYPE(BusinessCardModel)
