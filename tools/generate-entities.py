#!/usr/bin/env python3
"""Writes the store's settings entity classes and the schema table from ENTITIES below.

Run it after changing the schema; its output is committed like any other source:
    tools/generate-entities.py src/store
"""
import sys
from pathlib import Path

# (entity, relationship on DropListEntity, since version, attributes), in the order of the
# action kinds; which kind takes which entity is said by ActionCatalog.
# attribute: (name, type, default, since version)
ENTITIES = [
    ("TextTranslate", "textTranslate", 1, [("needCopy", "Boolean", True, 1), ("type", "Int16", 0, 1)]),
    ("TextClearStyle", "textClearStyle", 1, [("needCopy", "Boolean", True, 1)]),
    ("TextCharCount", "textCharCount", 1, [("countEnWord", "Boolean", True, 1), ("countLetter", "Boolean", True, 1),
                                               ("countTotal", "Boolean", True, 1), ("needCopy", "Boolean", False, 1)]),
    ("TextEmail", "textEmail", 1, [("receives", "String", "", 1), ("title", "String", "", 1)]),
    ("TextMsg", "textMsg", 1, [("receives", "String", "", 1), ("title", "String", "", 1)]),
    ("TextCustomUrl", "textCustomUrl", 1, [("needCopy", "Boolean", False, 1)]),
    ("TextTraditionalConversion", "textTranditionalConversion", 1,
     [("conversionType", "Int16", 2, 1), ("needCopy", "Boolean", True, 1)]),
    ("TextCapitalRMB", "textCapitalRMB", 1, [("autoBegin", "Boolean", True, 1), ("autoEnd", "Boolean", True, 1),
                                                 ("needCopy", "Boolean", True, 1)]),
    ("TextUpDownString", "textUpDownString", 1, [("handleType", "Int16", 0, 1)]),
    ("TextAirDrop", "textAirDrop", 1, []),
    ("ImageCompression", "imageCompression", 1,
     [("autoPNGtoJPG", "Boolean", False, 2), ("compressionRato", "Float", 0.75, 1), ("endName", "String", "", 1),
      ("needCopy", "Boolean", False, 1), ("needSave", "Boolean", False, 1), ("savePath", "String", "", 1)]),
    ("ImageFormat", "imageFormat", 1,
     [("coverntType", "Int16", 0, 1), ("endName", "String", "", 1), ("needCopy", "Boolean", False, 1),
      ("needSave", "Boolean", False, 1), ("savePath", "String", "", 1)]),
    ("ImageResize", "imageResize", 1,
     [("endName", "String", "", 1), ("needCopy", "Boolean", False, 1), ("needSave", "Boolean", False, 1),
      ("resizeType", "Int16", 0, 1), ("savePath", "String", "", 1), ("targetpx", "Int16", 1000, 1),
      ("targetRato", "Float", 50.0, 1)]),
    ("ImageOCR", "imageOCR", 1, [("needCopy", "Boolean", True, 1)]),
    ("ImageClearMsg", "imageClearMsg", 1,
     [("endName", "String", "", 1), ("needCopy", "Boolean", False, 1), ("needSave", "Boolean", False, 1),
      ("savePath", "String", "", 1)]),
    ("ImageUploadWeiBo", "imageUploadWeiBo", 1,
     [("cloudType", "Int16", 0, 1), ("needCopy", "Boolean", True, 1), ("qiniuAccessKey", "String", "", 1),
      ("qiniuDomain", "String", "", 1), ("qiniuSecretKey", "String", "", 1), ("qiniuSpaceName", "String", "", 1),
      ("suffixType", "Int16", 0, 1), ("weiboAccount", "String", "", 1), ("weiboPassWord", "String", "", 1)]),
    ("ImageToPhoto", "imageToPhoto", 1, [("needLaunch", "Boolean", True, 1)]),
    ("FileAirDrop", "fileAirDrop", 1, []),
    ("FileMove", "fileMove", 1, [("savePath", "String", "~/Documents", 1)]),
    ("FileCopy", "fileCopy", 1, [("savePath", "String", "", 1)]),
    ("FileEmail", "fileEmail", 1, [("receives", "String", "", 1), ("title", "String", "", 1)]),
    ("FileMsg", "fileMsg", 1, [("receives", "String", "", 1), ("title", "String", "", 1)]),
    ("FileUploadQinNiu", "fileUploadQiNiu", 1,
     [("needCopy", "Boolean", True, 1), ("qiniuAccessKey", "String", "", 1), ("qiniuDomain", "String", "", 1),
      ("qiniuSecretKey", "String", "", 1), ("qiniuSpaceName", "String", "", 1), ("suffixType", "Int16", 0, 1)]),
    ("FileUploadAli", "fileUploadAli", 1,
     [("aliAccessKey", "String", "", 1), ("aliDomain", "String", "", 1), ("aliSecretKey", "String", "", 1),
      ("aliSpaceName", "String", "", 1), ("needCopy", "Boolean", True, 1), ("suffixType", "Int16", 0, 1)]),
    ("FileUploadTencent", "fileUploadTencent", 1,
     [("needCopy", "Boolean", True, 1), ("suffixType", "Int16", 0, 1), ("tencentAccessKey", "String", "", 1),
      ("tencentDomain", "String", "", 1), ("tencentSecretKey", "String", "", 1), ("tencentSpaceName", "String", "", 1)]),
    ("FileUploadUP", "fileUploadUP", 1,
     [("admin", "String", "", 1), ("bucketName", "String", "", 1), ("needCopy", "Boolean", True, 1),
      ("secretCode", "String", "", 1), ("suffixType", "Int16", 0, 1), ("upDomain", "String", "", 1)]),
    ("ImageRotate", "imageRotate", 2,
     [("endName", "String", "", 2), ("rotateType", "Int16", 0, 2), ("savePath", "String", "", 2)]),
    ("FileRename", "fileRename", 2,
     [("addPlaceType", "Int16", 0, 2), ("addString", "String", "", 2), ("customizePlaceType", "Int16", 0, 2),
      ("customizeStartLetter", "String", "", 2), ("customizeStartNumber", "Int32", 1, 2),
      ("customizeString", "String", "", 2), ("customizeType", "Int16", 0, 2), ("needAdd", "Boolean", False, 2),
      ("needCustomize", "Boolean", False, 2), ("needReplace", "Boolean", False, 2),
      ("relpaceSearchString", "String", "", 2), ("replaceResultString", "String", "", 2)]),
]

# Stored attribute names stay as spelled: they are in every user's store and export files.
# The C++ accessors take these names instead.
CPP_NAMES = {"compressionRato": "compressionRatio", "coverntType": "convertType", "targetRato": "targetRatio",
             "targetpx": "targetPixels", "relpaceSearchString": "replaceSearchString",
             "weiboPassWord": "weiboPassword", "receives": "recipients"}


# Entity names stay as stored too; the classes that hold an entity's record are named after the
# kind of action they configure.
CPP_CLASSES = {'TextTranslate': 'TranslateSettings', 'TextClearStyle': 'ClearStyleSettings', 'TextCharCount': 'CharacterCountSettings', 'TextEmail': 'MailTextSettings', 'TextMsg': 'MessageTextSettings', 'TextCustomUrl': 'CustomUrlSettings', 'TextTraditionalConversion': 'ChineseScriptSettings', 'TextCapitalRMB': 'CapitalAmountSettings', 'TextUpDownString': 'LetterCaseSettings', 'TextAirDrop': 'ShareTextSettings', 'ImageCompression': 'CompressSettings', 'ImageFormat': 'ConvertSettings', 'ImageResize': 'ResizeSettings', 'ImageOCR': 'RecogniseTextSettings', 'ImageClearMsg': 'RemoveMetadataSettings', 'ImageUploadWeiBo': 'WeiboUploadSettings', 'ImageToPhoto': 'AddToPhotosSettings', 'FileAirDrop': 'ShareFilesSettings', 'FileMove': 'MoveSettings', 'FileCopy': 'CopySettings', 'FileEmail': 'MailFilesSettings', 'FileMsg': 'MessageFilesSettings', 'FileUploadQinNiu': 'QiniuUploadSettings', 'FileUploadAli': 'OssUploadSettings', 'FileUploadTencent': 'CosUploadSettings', 'FileUploadUP': 'UpyunUploadSettings', 'ImageRotate': 'RotateSettings', 'FileRename': 'RenameSettings'}


def cpp_name(name):
    return CPP_NAMES.get(name, name)


CPP_TYPES = {"Boolean": "bool", "Int16": "qint16", "Int32": "qint32", "Int64": "qint64",
             "Float": "float", "Double": "double", "String": "QString"}
GETTERS = {"Boolean": "boolValue", "Int16": "int16Value", "Int32": "int32Value", "Int64": "int64Value",
           "Float": "floatValue", "Double": "doubleValue", "String": "stringValue"}
SECRETS = {"qiniuSecretKey", "aliSecretKey", "tencentSecretKey", "secretCode", "weiboPassWord"}


def cap(name):
    return name[0].upper() + name[1:]


def literal(kind, value):
    if kind == "String":
        return "QStringLiteral(\"%s\")" % value
    if kind == "Boolean":
        return "true" if value else "false"
    if kind in ("Float", "Double"):
        return repr(float(value))
    return str(value)


NOTE = "// Written by tools/generate-entities.py: change the generator, not this file."

# Rules that belong to one entity's values, written into its class after entityName().
EXTRAS = {
    "FileRename": [
        "",
        "    // The texts written into every new name. A \"/\" would make the name a path out of the",
        "    // file's folder and a zero byte would cut it short, so neither is taken into one.",
        "    static bool isNamePart(const QString &attribute)",
        "    {",
        "        return attribute == QLatin1String(\"relpaceSearchString\") || attribute == QLatin1String(\"replaceResultString\")",
        "            || attribute == QLatin1String(\"addString\") || attribute == QLatin1String(\"customizeString\");",
        "    }",
        "    static QString namePartProblem(const QString &attribute, const QString &value)",
        "    {",
        "        if (!isNamePart(attribute) || (!value.contains(QLatin1Char('/')) && !value.contains(QChar(0))))",
        "            return QString();",
        "        return QStringLiteral(\"%1 is part of every new file name and cannot hold \\\"/\\\" or a zero byte\").arg(attribute);",
        "    }",
    ],
}


def header(entity, attributes):
    lines = [NOTE, "#pragma once", "", '#include "store/storedrecord.h"', ""]
    if entity == "TextCustomUrl":
        lines += ['#include "store/customurl.h"', "", "#include <QList>", "", "#include <memory>", ""]
    lines += ["class %s final : public StoredRecord" % CPP_CLASSES[entity], "{", "public:",
              "    using StoredRecord::StoredRecord;", "",
              "    static QString entityName() { return QStringLiteral(\"%s\"); }" % entity]
    lines += EXTRAS.get(entity, [])
    for name, kind, _default, _since in attributes:
        t = CPP_TYPES[kind]
        arg = "const QString &" if kind == "String" else t + " "
        lines.append("")
        lines.append("    %s %s() const { return %s(QStringLiteral(\"%s\")); }" % (t, cpp_name(name), GETTERS[kind], name))
        lines.append("    void set%s(%svalue) { setValue(QStringLiteral(\"%s\"), value); }" % (cap(cpp_name(name)), arg, name))
    if entity == "TextCustomUrl":
        lines += ["", "    // The URL templates, ordered by creation time.",
                  "    QList<std::shared_ptr<CustomUrl>> urls() const;",
                  "    void addUrlsObject(const std::shared_ptr<CustomUrl> &url);",
                  "    void removeUrlsObject(const std::shared_ptr<CustomUrl> &url);"]
    lines += ["};", ""]
    return "\n".join(lines)


def schema_table():
    # The table keeps the generator's layout; a formatter would indent its rows by the opening brace.
    out = [NOTE, "// clang-format off", "#include \"store/storeschema.h\"", "",
           "const QList<EntityDescription> &StoreSchema::entities()", "{",
           "    using T = AttributeType;",
           "    static const QList<EntityDescription> all = {"]
    out.append("        {QStringLiteral(\"DropListEntity\"), QString(), QString(), 1, {")
    for name, kind, default in [("catalog", "Int16", 0), ("dropID", "Int32", 0), ("index", "Int32", 0),
                                ("keyCode", "Int32", 0), ("modifiers", "Int32", 0), ("subCatalog", "Int16", 0),
                                ("supportTypes", "Int64", 0), ("title", "String", None), ("type", "Int32", 0)]:
        d = "QVariant()" if default is None else literal(kind, default)
        out.append("            {QStringLiteral(\"%s\"), T::%s, %s, 1, false}," % (name, kind, d))
    out.append("        }},")
    for entity, rel, since, attributes in ENTITIES:
        out.append("        {QStringLiteral(\"%s\"), QStringLiteral(\"%s\"), QStringLiteral(\"dropAction\"), %d, {"
                   % (entity, rel, since))
        for name, kind, default, asince in attributes:
            out.append("            {QStringLiteral(\"%s\"), T::%s, %s, %d, %s},"
                       % (name, kind, literal(kind, default), asince, "true" if name in SECRETS else "false"))
        out.append("        }},")
    out.append("        {QStringLiteral(\"CustomUrl\"), QString(), QStringLiteral(\"textCustomUrl\"), 1, {")
    out.append("            {QStringLiteral(\"createTime\"), T::Double, 0.0, 1, false},")
    out.append("            {QStringLiteral(\"url\"), T::String, QVariant(), 1, false},")
    out.append("        }},")
    out += ["    };", "    return all;", "}", ""]
    return "\n".join(out)


def main():
    target = Path(sys.argv[1] if len(sys.argv) > 1 else "src/store")
    for entity, _rel, _since, attributes in ENTITIES:
        (target / (CPP_CLASSES[entity].lower() + ".h")).write_text(header(entity, attributes))
    (target / "korvaneschemaentities.cpp").write_text(schema_table())


if __name__ == "__main__":
    main()
