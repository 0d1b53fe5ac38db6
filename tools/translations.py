#!/usr/bin/env python3
"""Korvane's texts by key, in English and Simplified Chinese; writes the two .ts files.

    tools/translations.py resources/translations
"""
import sys
from pathlib import Path
from xml.sax.saxutils import escape

TEXTS = {
    # Action kinds: title, then description ("...Info").
    "translate": ("Translate", "翻译"),
    "translateInfo": ("Translate the text and copy the translation.", "翻译文本并复制译文。"),
    "clearStyle": ("Clear Text Style", "清除文本样式"),
    "clearStyleInfo": ("Copy the text again as plain text, without fonts or colours.", "去掉字体和颜色，以纯文本重新复制。"),
    "charQuatity": ("Count Characters", "字符统计"),
    "charQuatityInfo": ("Count the characters, letters and words of the text.", "统计文本的字符数、字母数和单词数。"),
    "sendEmail": ("Send by Mail", "发送邮件"),
    "sendEmailInfo": ("Write a new mail with the text or files.", "用文本或文件新建一封邮件。"),
    "sendMsg": ("Send as Message", "发送消息"),
    "sendMsgInfo": ("Send the text or files as a message to your phone's contacts.", "将文本或文件作为消息发送。"),
    "openURL": ("Open Custom URLs", "自定义URL"),
    "openURLInfo": ("Open your own search addresses with the text in place of {text}.", "用文本替换 {text} 后打开自定义网址。"),
    "chineseConverter": ("Simplified/Traditional Chinese", "简繁转换"),
    "chineseConverterInfo": ("Convert the text between simplified and traditional Chinese.", "在简体中文与繁体中文之间转换文本。"),
    "capitalPrice": ("Chinese Capital Amount", "大写金额"),
    "capitalPriceInfo": ("Write a number as a Chinese capital money amount.", "将数字转换为中文大写金额。"),
    "caseConvert": ("Letter Case", "英文大小写"),
    "caseConvertInfo": ("Change the text to upper case, lower case or capitalised words.", "将文本转换为大写、小写或首字母大写。"),
    "airDropText": ("Nearby Share", "隔空投送"),
    "airDropTextInfo": ("Share the text with a nearby device.", "将文本分享到附近的设备。"),
    "imageCompress": ("Compress Images", "压缩体积"),
    "imageCompressInfo": ("Make images smaller at the quality you choose.", "按所选质量压缩图片体积。"),
    "imageConvert": ("Convert Image Format", "转换格式"),
    "imageConvertInfo": ("Convert images to JPG, PNG or BMP.", "将图片转换为 JPG、PNG 或 BMP。"),
    "imageResize": ("Resize Images", "调整尺寸"),
    "imageResizeInfo": ("Scale images to a width, a height or a percentage.", "按宽度、高度或百分比缩放图片。"),
    "imageOCR": ("Recognise Text", "识别图中文字"),
    "imageOCRInfo": ("Recognise the text in images and copy it.", "识别图片中的文字并复制。"),
    "imageDataRemove": ("Remove Metadata", "移除源信息"),
    "imageDataRemoveInfo": ("Remove location, camera and other data from photos.", "移除照片中的位置、相机等信息。"),
    "imageUplodaToBed": ("Upload to Image Bed", "上传到图床"),
    "imageUplodaToBedInfo": ("Upload images and copy their links.", "上传图片并复制链接。"),
    "imageToPhoto": ("Add to Photos", "添加到照片"),
    "imageToPhotoInfo": ("Add images and videos to your photo folder.", "将图片和视频添加到照片文件夹。"),
    "airDrop": ("Nearby Share", "隔空投送"),
    "airDropInfo": ("Share files with a nearby device.", "将文件分享到附近的设备。"),
    "moveToPath": ("Move to Folder", "移动到路径"),
    "moveToPathInfo": ("Move the files into a folder you choose.", "将文件移动到所选文件夹。"),
    "copyFile": ("Copy to Folder", "复制到路径"),
    "copyFileInfo": ("Copy the files into a folder you choose.", "将文件复制到所选文件夹。"),
    "uploadQiniu": ("Upload to Qiniu", "上传到七牛云"),
    "uploadQiniuInfo": ("Upload files to a Qiniu bucket and copy their links.", "上传文件到七牛云并复制链接。"),
    "uploadAli": ("Upload to Aliyun OSS", "上传到阿里云"),
    "uploadAliInfo": ("Upload files to an Aliyun OSS bucket and copy their links.", "上传文件到阿里云 OSS 并复制链接。"),
    "uploadTencent": ("Upload to Tencent COS", "上传到腾讯云"),
    "uploadTencentInfo": ("Upload files to a Tencent COS bucket and copy their links.", "上传文件到腾讯云 COS 并复制链接。"),
    "uploadUP": ("Upload to UpYun", "上传到又拍云"),
    "uploadUPInfo": ("Upload files to an UpYun bucket and copy their links.", "上传文件到又拍云并复制链接。"),
    "imageRotate": ("Rotate Images", "旋转图片"),
    "imageRotateInfo": ("Turn or mirror images.", "旋转或翻转图片。"),
    "renameFiles": ("Rename Files", "重命名文件"),
    "renameFilesInfo": ("Rename files by a pattern.", "按规则批量重命名文件。"),
    # Groups of the catalog.
    "CommonActions": ("Common", "常用"),
    "SendTexts": ("Send", "发送"),
    "ProActions": ("Advanced", "高级"),
    "ChineseActions": ("Chinese", "中文"),
    "ImageActions": ("Images", "图片"),
    "SendFiles": ("Send and Upload", "发送与上传"),
    # Text actions.
    "AllCharactersQty": ("Characters: %1. ", "字符数：%1。"),
    "LettersQty": ("Letters: %1. ", "字母数：%1。"),
    "EnglishWordsQty": ("English words: %1. ", "英文单词数：%1。"),
    "noEnLetter": ("The text has no English letters to change.", "文本中没有可转换的英文字母。"),
    "CustomUrlNotSet": ("This action has no URL yet. Add one in its settings.", "此动作还没有网址，请在设置中添加。"),
    "PleaseEnterNumbers": ("Please drop a number, such as 1234.56.", "请输入数字，例如 1234.56。"),
    "TranslateFailed": ("The translation came back empty.", "翻译结果为空。"),
    "CanNotConnectToServer": ("Cannot connect to the server.", "无法连接服务器。"),
    "AirDropFilesShared": ("%1 file(s) shared.", "已分享 %1 个文件。"),
    "PleaseEnterWeiboAccount": ("Enter your Weibo account and password in the action's settings.", "请在动作设置中填写微博账号和密码。"),
    "WrongWeiboAccount": ("The Weibo account or password is wrong.", "微博账号或密码错误。"),
    "NImagesUploadWeiboFailed": ("%1 image(s) could not be uploaded to Weibo.", "%1 张图片未能上传到微博。"),
    "UploadWeiboFailed": ("Nothing could be uploaded to Weibo.", "上传到微博失败。"),
    "PleaseEnterQiniuAccount": ("Enter the access key, secret key and bucket in the action's settings.", "请在动作设置中填写 AccessKey、SecretKey 和存储空间。"),
    "WrongQiniuAccount": ("The access key or secret key is wrong.", "AccessKey 或 SecretKey 错误。"),
    "NImagesUploadFailed": ("%1 file(s) could not be uploaded.", "%1 个文件上传失败。"),
    "UploadFailed": ("Nothing could be uploaded.", "上传失败。"),
    "QCloudBucketNotFound": ("The COS bucket %1 was not found for these keys.", "未找到这组密钥下的 COS 存储桶 %1。"),
    # Library of search addresses for custom URLs.
    "Baidu": ("Baidu", "百度"),
    "Weibo": ("Weibo", "微博"),
    "Wechat": ("WeChat Articles", "微信文章"),
    "Zhihu": ("Zhihu", "知乎"),
    "Taobao": ("Taobao", "淘宝"),
    "JD": ("JD.com", "京东"),
    "Translate to English": ("Translate to English", "翻译成英文"),
    "Translate to Chinese": ("Translate to Chinese", "翻译成中文"),
    "Search Mac App Store": ("Search the App Store", "在 App Store 中搜索"),
    "Send Email": ("Send Email", "发送邮件"),
    # Sharing.
    "ImageAddedToPhotos": ("The image was added to Pictures/Korvane.", "图片已添加到“图片/Korvane”。"),
    "NImageAddedToPhotos": ("%1 item(s) added to Pictures/Korvane.", "已将 %1 项添加到“图片/Korvane”。"),
    "ShareNeedsKDEConnect": ("Sending to a phone needs KDE Connect: install the kdeconnect package and pair your phone.",
                             "发送到手机需要 KDE Connect：请安装 kdeconnect 软件包并与手机配对。"),
    "ShareNeedsPairedDevice": ("No paired device is reachable. Pair your phone in KDE Connect and keep it on the same network.",
                               "没有可用的已配对设备。请在 KDE Connect 中配对手机，并让它与电脑处于同一网络。"),
    "ShareSendFailed": ("KDE Connect could not send everything to the paired device.",
                        "KDE Connect 未能将全部内容发送到已配对设备。"),
    # Capital money amount: numbers the numerals cannot write.
    "CapitalAmountNegative": ("A capital amount cannot be negative.", "大写金额不能为负数。"),
    "CapitalAmountTooLarge": ("The amount is too large: at most 13 digits before the decimal point.", "金额过大：整数部分最多 13 位。"),
    "CapitalAmountExponent": ("Write the amount in plain digits, without an exponent.", "请用普通数字书写金额，不要使用科学计数法。"),
    "CapitalAmountBelowOne": ("The amount must be at least 1.", "金额不能小于 1。"),
    "CapitalAmountNotNumber": ("The amount must be digits with at most one decimal point.", "金额只能由数字和一个小数点组成。"),
    # Hotkeys.
    "(None)": ("(None)", "（无）"),
    # The tray and its popovers.
    "dropHere": ("Drop here", "拖到这里"),
    "nothingRecognised": ("Nothing to work on", "没有可处理的内容"),
    "nothingRecognisedInfo": ("Copy text, an image or files, or drag them onto the icon.", "复制文本、图片或文件，或将它们拖到图标上。"),
    "typeSomething": ("Type text to act on", "输入要处理的文本"),
    "settings": ("Settings", "设置"),
    "imagesNumber": ("%1 image", "%1 张图片"),
    "imagesNumbers": ("%1 images", "%1 张图片"),
    "fileNumber": ("%1 file", "%1 个文件"),
    "filesNumbers": ("%1 files", "%1 个文件"),
    "wrongInputContent": ("This action does not take what is on the clipboard.", "此动作无法处理剪贴板中的内容。"),
    "edit": ("Edit", "编辑"),
    "editActions": ("Edit Actions…", "编辑动作…"),
    "preferences": ("Preferences…", "偏好设置…"),
    "about": ("About Korvane", "关于 Korvane"),
    "quitKorvane": ("Quit Korvane", "退出 Korvane"),
    # Notifications.
    "succeedNotif": ("%1 succeeded", "%1 成功"),
    "failureNotif": ("%1 failed", "%1 失败"),
    # File actions.
    "NoFile": ("The file does not exist.", "文件不存在。"),
    "MustBeFolder": ("The destination is not a folder.", "目标不是文件夹。"),
    "folderIntoItself": ("A folder cannot be put into itself.", "不能将文件夹放入其自身。"),
    "CopyFolderFailed": ("No file could be copied.", "没有文件被复制。"),
    "CopyFolderSucceed": ("The files were copied.", "文件已复制。"),
    "MoveFolderFailed": ("No file could be moved.", "没有文件被移动。"),
    "MoveFolderSucceed": ("The files were moved.", "文件已移动。"),
    "renameFailed": ("No file could be renamed.", "没有文件被重命名。"),
    "renameSucceed": ("The files were renamed.", "文件已重命名。"),
    "optionNotSetProperly": ("The rename options are incomplete: a text to search for, replace with or add is empty.",
                             "重命名选项不完整：查找、替换或添加的文本为空。"),
    # Image actions.
    "pasteBoardImageCompressed": ("The compressed image is on the clipboard, %1 smaller.", "压缩后的图片已复制，减小了 %1。"),
    "CompressedImageIsLarger": ("The compressed image would be larger than the original; nothing was copied.",
                                "压缩后的图片比原图更大，未复制。"),
    "NImagesCompressed": ("%1 image(s) compressed, %2 saved. ", "已压缩 %1 张图片，节省 %2。"),
    "NImagesCanNotCompressPending": ("%1 image(s) could not be compressed.", "%1 张图片无法压缩。"),
    "NImagesCanNotCompressed": ("%1 image(s) could not be compressed.", "%1 张图片无法压缩。"),
    "NPNGImagesCanNotCompressed": ("%1 PNG image(s) were not compressed: turn on converting PNG to JPG to compress them.",
                                   "%1 张 PNG 图片未压缩：请开启“PNG 转为 JPG”后再压缩。"),
    "pasteBoardImageConverted": ("The converted image is on the clipboard.", "转换后的图片已复制。"),
    "NImagesConverted": ("%1 image(s) converted. ", "已转换 %1 张图片。"),
    "NImagesCanNotConvertPending": ("%1 image(s) could not be converted.", "%1 张图片无法转换。"),
    "NImagesCanNotConvert": ("%1 image(s) could not be converted: unreadable, or already in that format.",
                             "%1 张图片无法转换：无法读取，或已是该格式。"),
    "pasteBoardImageResized": ("The resized image is on the clipboard.", "调整尺寸后的图片已复制。"),
    "NImagesResized": ("%1 image(s) resized. ", "已调整 %1 张图片的尺寸。"),
    "NImagesCanNotResizePending": ("%1 image(s) could not be resized.", "%1 张图片无法调整尺寸。"),
    "NImagesCanNotResize": ("%1 image(s) could not be resized: unreadable, or a size outside 2 to 9999 pixels.",
                            "%1 张图片无法调整尺寸：无法读取，或尺寸不在 2 到 9999 像素之间。"),
    "pasteBoardImageRotate": ("The rotated image is on the clipboard.", "旋转后的图片已复制。"),
    "NImageRoated": ("%1 image rotated. ", "已旋转 %1 张图片。"),
    "NImagesRoated": ("%1 images rotated. ", "已旋转 %1 张图片。"),
    "NImagesCanNotRoatedPending": ("%1 image(s) could not be rotated.", "%1 张图片无法旋转。"),
    "NImagesCanNotRoated": ("%1 image(s) could not be rotated.", "%1 张图片无法旋转。"),
    "pasteBoardImageMetadataRemoved": ("The image without its metadata is on the clipboard.", "已移除源信息的图片已复制。"),
    "NImagesRemovedMetadata": ("Metadata removed from %1 image(s). ", "已移除 %1 张图片的源信息。"),
    "NImagesCanNotRemoveMetadata": ("%1 image(s) kept their metadata: they could not be read or written.",
                                    "%1 张图片无法移除源信息。"),
    "NImagesCanNotRemoveData": ("Metadata could not be removed from %1 image(s).", "%1 张图片无法移除源信息。"),
    # Preferences window: action editor, general settings, about.
    "actionEditorTab": ("Actions", "动作"),
    "generalTab": ("General", "通用"),
    "aboutTab": ("About", "关于"),
    "files": ("Files and Images", "文件和图片"),
    "text": ("Text", "文本"),
    "textActionPreview": ("Text actions in the popover", "弹出列表中的文本动作"),
    "fileActionPreview": ("File and image actions in the popover", "弹出列表中的文件和图片动作"),
    "typeListName": ("Kind of data", "数据类型"),
    "catalogOutlineName": ("Actions you can add", "可添加的动作"),
    "actionListName": ("Your actions", "你的动作"),
    "actionListTip": ("Drag an action to change its place in the popover, or drag one here from the list on the left to add it.",
                      "拖动动作可改变它在弹出列表中的位置；也可以把左侧列表中的动作拖到这里来添加。"),
    "addActionTip": ("Add this action to the end of your actions.", "把这个动作添加到你的动作末尾。"),
    "removeActionTip": ("Remove this action from the popover.", "从弹出列表中移除这个动作。"),
    "noSettingsPanel": ("This action has no settings of its own.", "这个动作没有自己的设置。"),
    "editorGuide": ("Choose a kind of data on the left, then add actions with the + button, by double-clicking them or by dragging them into your list. Drag your actions to put them in the order the popover shows them, and select one to name it, give it a shortcut and set it up.",
                    "先在左侧选择数据类型，然后点击 + 按钮、双击或拖动来添加动作。拖动你的动作可调整它们在弹出列表中的顺序；选中一个动作即可重命名、设置快捷键并进行配置。"),
    "editorGuideDone": ("Got It", "知道了"),
    "editTip": ("Open this action in the action editor.", "在动作编辑器中打开这个动作。"),
    "hotKeyFieldPlaceholder": ("Click and press a shortcut", "点击后按下快捷键"),
    "hotKeyFieldTip": ("Click here and press the keys of the shortcut. Delete clears it; a key without Ctrl, Alt, Shift or Super only counts if it is a function key.",
                       "点击这里并按下快捷键。按 Delete 可清除；不带 Ctrl、Alt、Shift 或 Super 的按键只有功能键才有效。"),
    "generalBehaviour": ("Behaviour:", "行为："),
    "launchAtLogin": ("Start Korvane when I log in", "登录时启动 Korvane"),
    "launchAtLoginTip": ("Korvane starts in the system tray each time you log in to the desktop.", "每次登录桌面时，Korvane 都会在系统托盘中启动。"),
    "playSound": ("Play a sound when an action finishes", "动作完成时播放提示音"),
    "playSoundTip": ("A short sound tells you that an action has finished.", "动作完成时用一声短促的提示音告诉你。"),
    "enableNotifications": ("Show a notification when an action finishes", "动作完成时显示通知"),
    "enableNotificationsTip": ("Each finished action tells you its result in a desktop notification.", "每个完成的动作都会用桌面通知告诉你结果。"),
    "hideIcon": ("Keep the preferences window out of the taskbar", "不在任务栏中显示偏好设置窗口"),
    "hideIconTip": ("The preferences window does not appear in the taskbar or the task switcher.", "偏好设置窗口不会出现在任务栏和任务切换器中。"),
    "wakeHotKeyLabel": ("Show the popover:", "显示弹出列表："),
    "versionLabel": ("Version:", "版本："),
    "currentVersion": ("You are using Korvane %1.", "你正在使用 Korvane %1。"),
    "quitKorvaneButton": ("Quit Korvane", "退出 Korvane"),
    "quitKorvaneTip": ("Korvane stops and leaves the system tray until you start it again.", "Korvane 将停止运行并离开系统托盘，直到你再次启动它。"),
    "aboutSummary": ("A drop utility for the Linux desktop: drop files, images or text on the tray icon and run your actions on them.",
                     "Linux 桌面的拖放工具：把文件、图片或文本拖到托盘图标上，运行你的动作。"),
    "aboutLicence": ("Korvane is free software under the MIT licence.", "Korvane 是以 MIT 许可证发布的自由软件。"),
    "aboutHomePage": ("Visit Korvane's home page", "访问 Korvane 主页"),
    "aboutThirdParty": ("<p><b>What Korvane ships with</b></p>"
                        "<p><b>OpenCC dictionaries</b> (the Chinese conversion tables are composed from them): Copyright 2010-2022 BYVoid, under the Apache License 2.0.</p>"
                        "<p><b>Qt 6</b>: The Qt Company, under the GNU LGPL 3.</p>"
                        "<p><b>libvips</b>: under the GNU LGPL 2.1 or later. <b>Exiv2</b>: under the GNU GPL 2 or later.</p>"
                        "<p>The full texts are in the NOTICE file and, on Debian, in /usr/share/common-licenses.</p>",
                        "<p><b>Korvane 附带的组件</b></p>"
                        "<p><b>OpenCC 词典</b>（简繁转换表由其组成）：Copyright 2010-2022 BYVoid，Apache License 2.0 许可。</p>"
                        "<p><b>Qt 6</b>：The Qt Company，GNU LGPL 3 许可。</p>"
                        "<p><b>libvips</b>：GNU LGPL 2.1 或更高版本许可。<b>Exiv2</b>：GNU GPL 2 或更高版本许可。</p>"
                        "<p>完整许可文本见 NOTICE 文件，Debian 系统上见 /usr/share/common-licenses。</p>"),
    # Text recognition.
    "CanNotOCR": ("No text could be recognised in the image.", "无法识别图片中的文字。"),
    "OCREngineMissing": ("Text recognition is not installed: the Tesseract plug-in of Korvane was not found.",
                         "文字识别未安装：找不到 Korvane 的 Tesseract 插件。"),
    "OCRLanguageDataMissing": ("Text recognition needs Tesseract's language data for %1. Install it "
                               "(tesseract-ocr-eng, tesseract-ocr-chi-sim) or change ocr/languages.",
                               "文字识别需要 Tesseract 的 %1 语言数据。请安装（tesseract-ocr-eng、tesseract-ocr-chi-sim）"
                               "或修改 ocr/languages。"),
    # Network services, translation and the update check.
    "Can not connect to the server": ("Cannot connect to the server. Check the network connection.",
                                      "无法连接服务器，请检查网络连接。"),
    "serviceNotConfigured": ("No Korvane service is set up: set hosts/service in korvane.conf.",
                             "尚未设置 Korvane 服务：请在 korvane.conf 中设置 hosts/service。"),
    "translateNotConfigured": ("Translation is not set up. Set translate/libretranslateUrl (and translate/libretranslateKey "
                               "if the server needs one) to a LibreTranslate server, or hosts/service, in korvane.conf.",
                               "尚未设置翻译服务。请在 korvane.conf 中将 translate/libretranslateUrl（如服务器需要，"
                               "再设置 translate/libretranslateKey）设为 LibreTranslate 服务器地址，或设置 hosts/service。"),
    "libreTranslateRefused": ("The translation server refused: %1", "翻译服务器拒绝了请求：%1"),
    "translateServiceLibre": ("Translation uses the LibreTranslate server %1.", "翻译使用 LibreTranslate 服务器 %1。"),
    "translateServiceOwn": ("Translation uses the Korvane service %1.", "翻译使用 Korvane 服务 %1。"),
    "translateServiceNone": ("No translation service is set up: set translate/libretranslateUrl in korvane.conf.",
                             "尚未设置翻译服务：请在 korvane.conf 中设置 translate/libretranslateUrl。"),
    "checkingForUpdate": ("Checking for updates…", "正在检查更新…"),
    "checkFailed": ("Could not check for updates.", "检查更新失败。"),
    "noUpdateAvailable": ("Korvane is up to date.", "已是最新版本。"),
    "newUpdateAvailable": ("Korvane %1 is available.", "Korvane %1 已发布。"),
    "downloadUpdateInformativeText": ("Download the new version from the project's page.", "请从项目主页下载新版本。"),
    "download": ("Download", "下载"),
    "notNow": ("Not Now", "以后再说"),
    "checkLogs": ("What's New", "查看更新日志"),
    "ok": ("OK", "好"),
    "cancel": ("Cancel", "取消"),
}


def write(path, language, column):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', '<!DOCTYPE TS>',
             '<TS version="2.1" language="%s">' % language, '<context>', '    <name></name>']
    for key, texts in TEXTS.items():
        lines.append('    <message id="%s">' % escape(key))
        lines.append('        <source>%s</source>' % escape(texts[0]))
        lines.append('        <translation>%s</translation>' % escape(texts[column]))
        lines.append('    </message>')
    lines += ['</context>', '</TS>', '']
    Path(path).write_text("\n".join(lines), encoding="utf-8")


def main():
    target = Path(sys.argv[1] if len(sys.argv) > 1 else "resources/translations")
    write(target / "korvane_en.ts", "en", 0)
    write(target / "korvane_zh_CN.ts", "zh_CN", 1)


if __name__ == "__main__":
    main()
