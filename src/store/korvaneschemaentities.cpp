// Written by tools/generate-entities.py: change the generator, not this file.
// clang-format off
#include "store/storeschema.h"

const QList<EntityDescription> &StoreSchema::entities()
{
    using T = AttributeType;
    static const QList<EntityDescription> all = {
        {QStringLiteral("DropListEntity"), QString(), QString(), 1, {
            {QStringLiteral("catalog"), T::Int16, 0, 1, false},
            {QStringLiteral("dropID"), T::Int32, 0, 1, false},
            {QStringLiteral("index"), T::Int32, 0, 1, false},
            {QStringLiteral("keyCode"), T::Int32, 0, 1, false},
            {QStringLiteral("modifiers"), T::Int32, 0, 1, false},
            {QStringLiteral("subCatalog"), T::Int16, 0, 1, false},
            {QStringLiteral("supportTypes"), T::Int64, 0, 1, false},
            {QStringLiteral("title"), T::String, QVariant(), 1, false},
            {QStringLiteral("type"), T::Int32, 0, 1, false},
        }},
        {QStringLiteral("TextTranslate"), QStringLiteral("textTranslate"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("type"), T::Int16, 0, 1, false},
        }},
        {QStringLiteral("TextClearStyle"), QStringLiteral("textClearStyle"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
        }},
        {QStringLiteral("TextCharCount"), QStringLiteral("textCharCount"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("countEnWord"), T::Boolean, true, 1, false},
            {QStringLiteral("countLetter"), T::Boolean, true, 1, false},
            {QStringLiteral("countTotal"), T::Boolean, true, 1, false},
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
        }},
        {QStringLiteral("TextEmail"), QStringLiteral("textEmail"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("receives"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("title"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("TextMsg"), QStringLiteral("textMsg"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("receives"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("title"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("TextCustomUrl"), QStringLiteral("textCustomUrl"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
        }},
        {QStringLiteral("TextTraditionalConversion"), QStringLiteral("textTranditionalConversion"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("conversionType"), T::Int16, 2, 1, false},
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
        }},
        {QStringLiteral("TextCapitalRMB"), QStringLiteral("textCapitalRMB"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("autoBegin"), T::Boolean, true, 1, false},
            {QStringLiteral("autoEnd"), T::Boolean, true, 1, false},
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
        }},
        {QStringLiteral("TextUpDownString"), QStringLiteral("textUpDownString"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("handleType"), T::Int16, 0, 1, false},
        }},
        {QStringLiteral("TextAirDrop"), QStringLiteral("textAirDrop"), QStringLiteral("dropAction"), 1, {
        }},
        {QStringLiteral("ImageCompression"), QStringLiteral("imageCompression"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("autoPNGtoJPG"), T::Boolean, false, 2, false},
            {QStringLiteral("compressionRato"), T::Float, 0.75, 1, false},
            {QStringLiteral("endName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
            {QStringLiteral("needSave"), T::Boolean, false, 1, false},
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("ImageFormat"), QStringLiteral("imageFormat"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("coverntType"), T::Int16, 0, 1, false},
            {QStringLiteral("endName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
            {QStringLiteral("needSave"), T::Boolean, false, 1, false},
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("ImageResize"), QStringLiteral("imageResize"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("endName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
            {QStringLiteral("needSave"), T::Boolean, false, 1, false},
            {QStringLiteral("resizeType"), T::Int16, 0, 1, false},
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("targetpx"), T::Int16, 1000, 1, false},
            {QStringLiteral("targetRato"), T::Float, 50.0, 1, false},
        }},
        {QStringLiteral("ImageOCR"), QStringLiteral("imageOCR"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
        }},
        {QStringLiteral("ImageClearMsg"), QStringLiteral("imageClearMsg"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("endName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, false, 1, false},
            {QStringLiteral("needSave"), T::Boolean, false, 1, false},
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("ImageUploadWeiBo"), QStringLiteral("imageUploadWeiBo"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("cloudType"), T::Int16, 0, 1, false},
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("qiniuAccessKey"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("qiniuDomain"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("qiniuSecretKey"), T::String, QStringLiteral(""), 1, true},
            {QStringLiteral("qiniuSpaceName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("suffixType"), T::Int16, 0, 1, false},
            {QStringLiteral("weiboAccount"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("weiboPassWord"), T::String, QStringLiteral(""), 1, true},
        }},
        {QStringLiteral("ImageToPhoto"), QStringLiteral("imageToPhoto"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needLaunch"), T::Boolean, true, 1, false},
        }},
        {QStringLiteral("FileAirDrop"), QStringLiteral("fileAirDrop"), QStringLiteral("dropAction"), 1, {
        }},
        {QStringLiteral("FileMove"), QStringLiteral("fileMove"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("savePath"), T::String, QStringLiteral("~/Documents"), 1, false},
        }},
        {QStringLiteral("FileCopy"), QStringLiteral("fileCopy"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("FileEmail"), QStringLiteral("fileEmail"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("receives"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("title"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("FileMsg"), QStringLiteral("fileMsg"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("receives"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("title"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("FileUploadQinNiu"), QStringLiteral("fileUploadQiNiu"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("qiniuAccessKey"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("qiniuDomain"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("qiniuSecretKey"), T::String, QStringLiteral(""), 1, true},
            {QStringLiteral("qiniuSpaceName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("suffixType"), T::Int16, 0, 1, false},
        }},
        {QStringLiteral("FileUploadAli"), QStringLiteral("fileUploadAli"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("aliAccessKey"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("aliDomain"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("aliSecretKey"), T::String, QStringLiteral(""), 1, true},
            {QStringLiteral("aliSpaceName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("suffixType"), T::Int16, 0, 1, false},
        }},
        {QStringLiteral("FileUploadTencent"), QStringLiteral("fileUploadTencent"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("suffixType"), T::Int16, 0, 1, false},
            {QStringLiteral("tencentAccessKey"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("tencentDomain"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("tencentSecretKey"), T::String, QStringLiteral(""), 1, true},
            {QStringLiteral("tencentSpaceName"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("FileUploadUP"), QStringLiteral("fileUploadUP"), QStringLiteral("dropAction"), 1, {
            {QStringLiteral("admin"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("bucketName"), T::String, QStringLiteral(""), 1, false},
            {QStringLiteral("needCopy"), T::Boolean, true, 1, false},
            {QStringLiteral("secretCode"), T::String, QStringLiteral(""), 1, true},
            {QStringLiteral("suffixType"), T::Int16, 0, 1, false},
            {QStringLiteral("upDomain"), T::String, QStringLiteral(""), 1, false},
        }},
        {QStringLiteral("ImageRotate"), QStringLiteral("imageRotate"), QStringLiteral("dropAction"), 2, {
            {QStringLiteral("endName"), T::String, QStringLiteral(""), 2, false},
            {QStringLiteral("rotateType"), T::Int16, 0, 2, false},
            {QStringLiteral("savePath"), T::String, QStringLiteral(""), 2, false},
        }},
        {QStringLiteral("FileRename"), QStringLiteral("fileRename"), QStringLiteral("dropAction"), 2, {
            {QStringLiteral("addPlaceType"), T::Int16, 0, 2, false},
            {QStringLiteral("addString"), T::String, QStringLiteral(""), 2, false},
            {QStringLiteral("customizePlaceType"), T::Int16, 0, 2, false},
            {QStringLiteral("customizeStartLetter"), T::String, QStringLiteral(""), 2, false},
            {QStringLiteral("customizeStartNumber"), T::Int32, 1, 2, false},
            {QStringLiteral("customizeString"), T::String, QStringLiteral(""), 2, false},
            {QStringLiteral("customizeType"), T::Int16, 0, 2, false},
            {QStringLiteral("needAdd"), T::Boolean, false, 2, false},
            {QStringLiteral("needCustomize"), T::Boolean, false, 2, false},
            {QStringLiteral("needReplace"), T::Boolean, false, 2, false},
            {QStringLiteral("relpaceSearchString"), T::String, QStringLiteral(""), 2, false},
            {QStringLiteral("replaceResultString"), T::String, QStringLiteral(""), 2, false},
        }},
        {QStringLiteral("CustomUrl"), QString(), QStringLiteral("textCustomUrl"), 1, {
            {QStringLiteral("createTime"), T::Double, 0.0, 1, false},
            {QStringLiteral("url"), T::String, QVariant(), 1, false},
        }},
    };
    return all;
}
