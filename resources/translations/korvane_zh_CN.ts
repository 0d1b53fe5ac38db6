<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="translate">
        <source>Translate</source>
        <translation>翻译</translation>
    </message>
    <message id="translateInfo">
        <source>Translate the text and copy the translation.</source>
        <translation>翻译文本并复制译文。</translation>
    </message>
    <message id="clearStyle">
        <source>Clear Text Style</source>
        <translation>清除文本样式</translation>
    </message>
    <message id="clearStyleInfo">
        <source>Copy the text again as plain text, without fonts or colours.</source>
        <translation>去掉字体和颜色，以纯文本重新复制。</translation>
    </message>
    <message id="charQuatity">
        <source>Count Characters</source>
        <translation>字符统计</translation>
    </message>
    <message id="charQuatityInfo">
        <source>Count the characters, letters and words of the text.</source>
        <translation>统计文本的字符数、字母数和单词数。</translation>
    </message>
    <message id="sendEmail">
        <source>Send by Mail</source>
        <translation>发送邮件</translation>
    </message>
    <message id="sendEmailInfo">
        <source>Write a new mail with the text or files.</source>
        <translation>用文本或文件新建一封邮件。</translation>
    </message>
    <message id="sendMsg">
        <source>Send as Message</source>
        <translation>发送消息</translation>
    </message>
    <message id="sendMsgInfo">
        <source>Send the text or files as a message to your phone's contacts.</source>
        <translation>将文本或文件作为消息发送。</translation>
    </message>
    <message id="openURL">
        <source>Open Custom URLs</source>
        <translation>自定义URL</translation>
    </message>
    <message id="openURLInfo">
        <source>Open your own search addresses with the text in place of {text}.</source>
        <translation>用文本替换 {text} 后打开自定义网址。</translation>
    </message>
    <message id="chineseConverter">
        <source>Simplified/Traditional Chinese</source>
        <translation>简繁转换</translation>
    </message>
    <message id="chineseConverterInfo">
        <source>Convert the text between simplified and traditional Chinese.</source>
        <translation>在简体中文与繁体中文之间转换文本。</translation>
    </message>
    <message id="capitalPrice">
        <source>Chinese Capital Amount</source>
        <translation>大写金额</translation>
    </message>
    <message id="capitalPriceInfo">
        <source>Write a number as a Chinese capital money amount.</source>
        <translation>将数字转换为中文大写金额。</translation>
    </message>
    <message id="caseConvert">
        <source>Letter Case</source>
        <translation>英文大小写</translation>
    </message>
    <message id="caseConvertInfo">
        <source>Change the text to upper case, lower case or capitalised words.</source>
        <translation>将文本转换为大写、小写或首字母大写。</translation>
    </message>
    <message id="airDropText">
        <source>Nearby Share</source>
        <translation>隔空投送</translation>
    </message>
    <message id="airDropTextInfo">
        <source>Share the text with a nearby device.</source>
        <translation>将文本分享到附近的设备。</translation>
    </message>
    <message id="imageCompress">
        <source>Compress Images</source>
        <translation>压缩体积</translation>
    </message>
    <message id="imageCompressInfo">
        <source>Make images smaller at the quality you choose.</source>
        <translation>按所选质量压缩图片体积。</translation>
    </message>
    <message id="imageConvert">
        <source>Convert Image Format</source>
        <translation>转换格式</translation>
    </message>
    <message id="imageConvertInfo">
        <source>Convert images to JPG, PNG or BMP.</source>
        <translation>将图片转换为 JPG、PNG 或 BMP。</translation>
    </message>
    <message id="imageResize">
        <source>Resize Images</source>
        <translation>调整尺寸</translation>
    </message>
    <message id="imageResizeInfo">
        <source>Scale images to a width, a height or a percentage.</source>
        <translation>按宽度、高度或百分比缩放图片。</translation>
    </message>
    <message id="imageOCR">
        <source>Recognise Text</source>
        <translation>识别图中文字</translation>
    </message>
    <message id="imageOCRInfo">
        <source>Recognise the text in images and copy it.</source>
        <translation>识别图片中的文字并复制。</translation>
    </message>
    <message id="imageDataRemove">
        <source>Remove Metadata</source>
        <translation>移除源信息</translation>
    </message>
    <message id="imageDataRemoveInfo">
        <source>Remove location, camera and other data from photos.</source>
        <translation>移除照片中的位置、相机等信息。</translation>
    </message>
    <message id="imageUplodaToBed">
        <source>Upload to Image Bed</source>
        <translation>上传到图床</translation>
    </message>
    <message id="imageUplodaToBedInfo">
        <source>Upload images and copy their links.</source>
        <translation>上传图片并复制链接。</translation>
    </message>
    <message id="imageToPhoto">
        <source>Add to Photos</source>
        <translation>添加到照片</translation>
    </message>
    <message id="imageToPhotoInfo">
        <source>Add images and videos to your photo folder.</source>
        <translation>将图片和视频添加到照片文件夹。</translation>
    </message>
    <message id="airDrop">
        <source>Nearby Share</source>
        <translation>隔空投送</translation>
    </message>
    <message id="airDropInfo">
        <source>Share files with a nearby device.</source>
        <translation>将文件分享到附近的设备。</translation>
    </message>
    <message id="moveToPath">
        <source>Move to Folder</source>
        <translation>移动到路径</translation>
    </message>
    <message id="moveToPathInfo">
        <source>Move the files into a folder you choose.</source>
        <translation>将文件移动到所选文件夹。</translation>
    </message>
    <message id="copyFile">
        <source>Copy to Folder</source>
        <translation>复制到路径</translation>
    </message>
    <message id="copyFileInfo">
        <source>Copy the files into a folder you choose.</source>
        <translation>将文件复制到所选文件夹。</translation>
    </message>
    <message id="uploadQiniu">
        <source>Upload to Qiniu</source>
        <translation>上传到七牛云</translation>
    </message>
    <message id="uploadQiniuInfo">
        <source>Upload files to a Qiniu bucket and copy their links.</source>
        <translation>上传文件到七牛云并复制链接。</translation>
    </message>
    <message id="uploadAli">
        <source>Upload to Aliyun OSS</source>
        <translation>上传到阿里云</translation>
    </message>
    <message id="uploadAliInfo">
        <source>Upload files to an Aliyun OSS bucket and copy their links.</source>
        <translation>上传文件到阿里云 OSS 并复制链接。</translation>
    </message>
    <message id="uploadTencent">
        <source>Upload to Tencent COS</source>
        <translation>上传到腾讯云</translation>
    </message>
    <message id="uploadTencentInfo">
        <source>Upload files to a Tencent COS bucket and copy their links.</source>
        <translation>上传文件到腾讯云 COS 并复制链接。</translation>
    </message>
    <message id="uploadUP">
        <source>Upload to UpYun</source>
        <translation>上传到又拍云</translation>
    </message>
    <message id="uploadUPInfo">
        <source>Upload files to an UpYun bucket and copy their links.</source>
        <translation>上传文件到又拍云并复制链接。</translation>
    </message>
    <message id="imageRotate">
        <source>Rotate Images</source>
        <translation>旋转图片</translation>
    </message>
    <message id="imageRotateInfo">
        <source>Turn or mirror images.</source>
        <translation>旋转或翻转图片。</translation>
    </message>
    <message id="renameFiles">
        <source>Rename Files</source>
        <translation>重命名文件</translation>
    </message>
    <message id="renameFilesInfo">
        <source>Rename files by a pattern.</source>
        <translation>按规则批量重命名文件。</translation>
    </message>
    <message id="CommonActions">
        <source>Common</source>
        <translation>常用</translation>
    </message>
    <message id="SendTexts">
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message id="ProActions">
        <source>Advanced</source>
        <translation>高级</translation>
    </message>
    <message id="ChineseActions">
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message id="ImageActions">
        <source>Images</source>
        <translation>图片</translation>
    </message>
    <message id="SendFiles">
        <source>Send and Upload</source>
        <translation>发送与上传</translation>
    </message>
    <message id="AllCharactersQty">
        <source>Characters: %1. </source>
        <translation>字符数：%1。</translation>
    </message>
    <message id="LettersQty">
        <source>Letters: %1. </source>
        <translation>字母数：%1。</translation>
    </message>
    <message id="EnglishWordsQty">
        <source>English words: %1. </source>
        <translation>英文单词数：%1。</translation>
    </message>
    <message id="noEnLetter">
        <source>The text has no English letters to change.</source>
        <translation>文本中没有可转换的英文字母。</translation>
    </message>
    <message id="CustomUrlNotSet">
        <source>This action has no URL yet. Add one in its settings.</source>
        <translation>此动作还没有网址，请在设置中添加。</translation>
    </message>
    <message id="PleaseEnterNumbers">
        <source>Please drop a number, such as 1234.56.</source>
        <translation>请输入数字，例如 1234.56。</translation>
    </message>
    <message id="TranslateFailed">
        <source>The translation came back empty.</source>
        <translation>翻译结果为空。</translation>
    </message>
    <message id="CanNotConnectToServer">
        <source>Cannot connect to the server.</source>
        <translation>无法连接服务器。</translation>
    </message>
    <message id="AirDropFilesShared">
        <source>%1 file(s) shared.</source>
        <translation>已分享 %1 个文件。</translation>
    </message>
    <message id="PleaseEnterWeiboAccount">
        <source>Enter your Weibo account and password in the action's settings.</source>
        <translation>请在动作设置中填写微博账号和密码。</translation>
    </message>
    <message id="WrongWeiboAccount">
        <source>The Weibo account or password is wrong.</source>
        <translation>微博账号或密码错误。</translation>
    </message>
    <message id="NImagesUploadWeiboFailed">
        <source>%1 image(s) could not be uploaded to Weibo.</source>
        <translation>%1 张图片未能上传到微博。</translation>
    </message>
    <message id="UploadWeiboFailed">
        <source>Nothing could be uploaded to Weibo.</source>
        <translation>上传到微博失败。</translation>
    </message>
    <message id="PleaseEnterQiniuAccount">
        <source>Enter the access key, secret key and bucket in the action's settings.</source>
        <translation>请在动作设置中填写 AccessKey、SecretKey 和存储空间。</translation>
    </message>
    <message id="WrongQiniuAccount">
        <source>The access key or secret key is wrong.</source>
        <translation>AccessKey 或 SecretKey 错误。</translation>
    </message>
    <message id="NImagesUploadFailed">
        <source>%1 file(s) could not be uploaded.</source>
        <translation>%1 个文件上传失败。</translation>
    </message>
    <message id="UploadFailed">
        <source>Nothing could be uploaded.</source>
        <translation>上传失败。</translation>
    </message>
    <message id="QCloudBucketNotFound">
        <source>The COS bucket %1 was not found for these keys.</source>
        <translation>未找到这组密钥下的 COS 存储桶 %1。</translation>
    </message>
    <message id="Baidu">
        <source>Baidu</source>
        <translation>百度</translation>
    </message>
    <message id="Weibo">
        <source>Weibo</source>
        <translation>微博</translation>
    </message>
    <message id="Wechat">
        <source>WeChat Articles</source>
        <translation>微信文章</translation>
    </message>
    <message id="Zhihu">
        <source>Zhihu</source>
        <translation>知乎</translation>
    </message>
    <message id="Taobao">
        <source>Taobao</source>
        <translation>淘宝</translation>
    </message>
    <message id="JD">
        <source>JD.com</source>
        <translation>京东</translation>
    </message>
    <message id="Translate to English">
        <source>Translate to English</source>
        <translation>翻译成英文</translation>
    </message>
    <message id="Translate to Chinese">
        <source>Translate to Chinese</source>
        <translation>翻译成中文</translation>
    </message>
    <message id="Search Flathub">
        <source>Search Flathub</source>
        <translation>搜索 Flathub</translation>
    </message>
    <message id="Send Email">
        <source>Send Email</source>
        <translation>发送邮件</translation>
    </message>
    <message id="ImageAddedToPhotos">
        <source>The image was added to Pictures/Korvane.</source>
        <translation>图片已添加到“图片/Korvane”。</translation>
    </message>
    <message id="NImageAddedToPhotos">
        <source>%1 item(s) added to Pictures/Korvane.</source>
        <translation>已将 %1 项添加到“图片/Korvane”。</translation>
    </message>
    <message id="ShareNeedsKDEConnect">
        <source>Sending to a phone needs KDE Connect: install the kdeconnect package and pair your phone.</source>
        <translation>发送到手机需要 KDE Connect：请安装 kdeconnect 软件包并与手机配对。</translation>
    </message>
    <message id="ShareNeedsPairedDevice">
        <source>No paired device is reachable. Pair your phone in KDE Connect and keep it on the same network.</source>
        <translation>没有可用的已配对设备。请在 KDE Connect 中配对手机，并让它与电脑处于同一网络。</translation>
    </message>
    <message id="ShareSendFailed">
        <source>KDE Connect could not send everything to the paired device.</source>
        <translation>KDE Connect 未能将全部内容发送到已配对设备。</translation>
    </message>
    <message id="CapitalAmountNegative">
        <source>A capital amount cannot be negative.</source>
        <translation>大写金额不能为负数。</translation>
    </message>
    <message id="CapitalAmountTooLarge">
        <source>The amount is too large: at most 13 digits before the decimal point.</source>
        <translation>金额过大：整数部分最多 13 位。</translation>
    </message>
    <message id="CapitalAmountExponent">
        <source>Write the amount in plain digits, without an exponent.</source>
        <translation>请用普通数字书写金额，不要使用科学计数法。</translation>
    </message>
    <message id="CapitalAmountZero">
        <source>The amount is zero: there is nothing to write.</source>
        <translation>金额为零，无法转换为大写。</translation>
    </message>
    <message id="CapitalAmountNotNumber">
        <source>The amount must be digits with at most one decimal point.</source>
        <translation>金额只能由数字和一个小数点组成。</translation>
    </message>
    <message id="(None)">
        <source>(None)</source>
        <translation>（无）</translation>
    </message>
    <message id="dropHere">
        <source>Drop here</source>
        <translation>拖到这里</translation>
    </message>
    <message id="nothingRecognised">
        <source>Nothing to work on</source>
        <translation>没有可处理的内容</translation>
    </message>
    <message id="nothingRecognisedInfo">
        <source>Copy text, an image or files, or drag them onto the icon.</source>
        <translation>复制文本、图片或文件，或将它们拖到图标上。</translation>
    </message>
    <message id="typeSomething">
        <source>Type text to act on</source>
        <translation>输入要处理的文本</translation>
    </message>
    <message id="settings">
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message id="imagesNumber">
        <source>%1 image</source>
        <translation>%1 张图片</translation>
    </message>
    <message id="imagesNumbers">
        <source>%1 images</source>
        <translation>%1 张图片</translation>
    </message>
    <message id="fileNumber">
        <source>%1 file</source>
        <translation>%1 个文件</translation>
    </message>
    <message id="filesNumbers">
        <source>%1 files</source>
        <translation>%1 个文件</translation>
    </message>
    <message id="wrongInputContent">
        <source>This action does not take what is on the clipboard.</source>
        <translation>此动作无法处理剪贴板中的内容。</translation>
    </message>
    <message id="edit">
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message id="editActions">
        <source>Edit Actions…</source>
        <translation>编辑动作…</translation>
    </message>
    <message id="preferences">
        <source>Preferences…</source>
        <translation>偏好设置…</translation>
    </message>
    <message id="about">
        <source>About Korvane</source>
        <translation>关于 Korvane</translation>
    </message>
    <message id="quitKorvane">
        <source>Quit Korvane</source>
        <translation>退出 Korvane</translation>
    </message>
    <message id="noTrayTitle">
        <source>Korvane is running</source>
        <translation>Korvane 正在运行</translation>
    </message>
    <message id="noTrayInfo">
        <source>This desktop has no tray for Korvane's icon. Press %1 or run “korvane show” for the actions on the clipboard, and drop files on the drop window in the tray menu.</source>
        <translation>此桌面没有可显示 Korvane 图标的托盘。按 %1 或运行“korvane show”可列出适用于剪贴板内容的动作；文件可拖到托盘菜单中的拖放窗口。</translation>
    </message>
    <message id="noTrayInfoNoHotKey">
        <source>This desktop has no tray for Korvane's icon. Run “korvane show” (bind it to a key in the keyboard settings) for the actions on the clipboard, and drop files on the drop window in the tray menu.</source>
        <translation>此桌面没有可显示 Korvane 图标的托盘。运行“korvane show”（可在键盘设置中为它绑定快捷键）可列出适用于剪贴板内容的动作；文件可拖到托盘菜单中的拖放窗口。</translation>
    </message>
    <message id="succeedNotif">
        <source>%1 succeeded</source>
        <translation>%1 成功</translation>
    </message>
    <message id="failureNotif">
        <source>%1 failed</source>
        <translation>%1 失败</translation>
    </message>
    <message id="NoFile">
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message id="MustBeFolder">
        <source>The destination is not a folder.</source>
        <translation>目标不是文件夹。</translation>
    </message>
    <message id="folderIntoItself">
        <source>A folder cannot be put into itself.</source>
        <translation>不能将文件夹放入其自身。</translation>
    </message>
    <message id="CopyFolderFailed">
        <source>No file could be copied.</source>
        <translation>没有文件被复制。</translation>
    </message>
    <message id="CopyFolderSucceed">
        <source>The files were copied.</source>
        <translation>文件已复制。</translation>
    </message>
    <message id="MoveFolderFailed">
        <source>No file could be moved.</source>
        <translation>没有文件被移动。</translation>
    </message>
    <message id="MoveFolderSucceed">
        <source>The files were moved.</source>
        <translation>文件已移动。</translation>
    </message>
    <message id="renameFailed">
        <source>No file could be renamed.</source>
        <translation>没有文件被重命名。</translation>
    </message>
    <message id="renameSucceed">
        <source>The files were renamed.</source>
        <translation>文件已重命名。</translation>
    </message>
    <message id="optionNotSetProperly">
        <source>The rename options are incomplete: a text to search for, replace with or add is empty.</source>
        <translation>重命名选项不完整：查找、替换或添加的文本为空。</translation>
    </message>
    <message id="pasteBoardImageCompressed">
        <source>The compressed image is on the clipboard, %1 smaller.</source>
        <translation>压缩后的图片已复制，减小了 %1。</translation>
    </message>
    <message id="CompressedImageIsLarger">
        <source>The compressed image would be larger than the original; nothing was copied.</source>
        <translation>压缩后的图片比原图更大，未复制。</translation>
    </message>
    <message id="NImagesCompressed">
        <source>%1 image(s) compressed, %2 saved. </source>
        <translation>已压缩 %1 张图片，节省 %2。</translation>
    </message>
    <message id="NImagesCanNotCompressPending">
        <source>%1 image(s) could not be compressed.</source>
        <translation>%1 张图片无法压缩。</translation>
    </message>
    <message id="NImagesCanNotCompressed">
        <source>%1 image(s) could not be compressed.</source>
        <translation>%1 张图片无法压缩。</translation>
    </message>
    <message id="NPNGImagesCanNotCompressed">
        <source>%1 PNG image(s) were not compressed: turn on converting PNG to JPG to compress them.</source>
        <translation>%1 张 PNG 图片未压缩：请开启“PNG 转为 JPG”后再压缩。</translation>
    </message>
    <message id="pasteBoardImageConverted">
        <source>The converted image is on the clipboard.</source>
        <translation>转换后的图片已复制。</translation>
    </message>
    <message id="NImagesConverted">
        <source>%1 image(s) converted. </source>
        <translation>已转换 %1 张图片。</translation>
    </message>
    <message id="NImagesCanNotConvertPending">
        <source>%1 image(s) could not be converted.</source>
        <translation>%1 张图片无法转换。</translation>
    </message>
    <message id="NImagesCanNotConvert">
        <source>%1 image(s) could not be converted: unreadable, or already in that format.</source>
        <translation>%1 张图片无法转换：无法读取，或已是该格式。</translation>
    </message>
    <message id="pasteBoardImageResized">
        <source>The resized image is on the clipboard.</source>
        <translation>调整尺寸后的图片已复制。</translation>
    </message>
    <message id="NImagesResized">
        <source>%1 image(s) resized. </source>
        <translation>已调整 %1 张图片的尺寸。</translation>
    </message>
    <message id="NImagesCanNotResizePending">
        <source>%1 image(s) could not be resized.</source>
        <translation>%1 张图片无法调整尺寸。</translation>
    </message>
    <message id="NImagesCanNotResize">
        <source>%1 image(s) could not be resized: unreadable, or a size outside 2 to 9999 pixels.</source>
        <translation>%1 张图片无法调整尺寸：无法读取，或尺寸不在 2 到 9999 像素之间。</translation>
    </message>
    <message id="pasteBoardImageRotate">
        <source>The rotated image is on the clipboard.</source>
        <translation>旋转后的图片已复制。</translation>
    </message>
    <message id="NImageRoated">
        <source>%1 image rotated. </source>
        <translation>已旋转 %1 张图片。</translation>
    </message>
    <message id="NImagesRoated">
        <source>%1 images rotated. </source>
        <translation>已旋转 %1 张图片。</translation>
    </message>
    <message id="NImagesCanNotRoatedPending">
        <source>%1 image(s) could not be rotated.</source>
        <translation>%1 张图片无法旋转。</translation>
    </message>
    <message id="NImagesCanNotRoated">
        <source>%1 image(s) could not be rotated.</source>
        <translation>%1 张图片无法旋转。</translation>
    </message>
    <message id="pasteBoardImageMetadataRemoved">
        <source>The image without its metadata is on the clipboard.</source>
        <translation>已移除源信息的图片已复制。</translation>
    </message>
    <message id="NImagesRemovedMetadata">
        <source>Metadata removed from %1 image(s). </source>
        <translation>已移除 %1 张图片的源信息。</translation>
    </message>
    <message id="NImagesCanNotRemoveMetadata">
        <source>%1 image(s) kept their metadata: they could not be read or written.</source>
        <translation>%1 张图片无法移除源信息。</translation>
    </message>
    <message id="NImagesCanNotRemoveData">
        <source>Metadata could not be removed from %1 image(s).</source>
        <translation>%1 张图片无法移除源信息。</translation>
    </message>
    <message id="actionEditorTab">
        <source>Actions</source>
        <translation>动作</translation>
    </message>
    <message id="generalTab">
        <source>General</source>
        <translation>通用</translation>
    </message>
    <message id="aboutTab">
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message id="files">
        <source>Files and Images</source>
        <translation>文件和图片</translation>
    </message>
    <message id="text">
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message id="textActionPreview">
        <source>Text actions in the popover</source>
        <translation>弹出列表中的文本动作</translation>
    </message>
    <message id="fileActionPreview">
        <source>File and image actions in the popover</source>
        <translation>弹出列表中的文件和图片动作</translation>
    </message>
    <message id="typeListName">
        <source>Kind of data</source>
        <translation>数据类型</translation>
    </message>
    <message id="catalogOutlineName">
        <source>Actions you can add</source>
        <translation>可添加的动作</translation>
    </message>
    <message id="actionListName">
        <source>Your actions</source>
        <translation>你的动作</translation>
    </message>
    <message id="actionListTip">
        <source>Drag an action to change its place in the popover, or drag one here from the list on the left to add it.</source>
        <translation>拖动动作可改变它在弹出列表中的位置；也可以把左侧列表中的动作拖到这里来添加。</translation>
    </message>
    <message id="addActionTip">
        <source>Add this action to the end of your actions.</source>
        <translation>把这个动作添加到你的动作末尾。</translation>
    </message>
    <message id="removeActionTip">
        <source>Remove this action from the popover.</source>
        <translation>从弹出列表中移除这个动作。</translation>
    </message>
    <message id="noSettingsPanel">
        <source>This action has no settings of its own.</source>
        <translation>这个动作没有自己的设置。</translation>
    </message>
    <message id="editorGuide">
        <source>Choose a kind of data on the left, then add actions with the + button, by double-clicking them or by dragging them into your list. Drag your actions to put them in the order the popover shows them, and select one to name it, give it a shortcut and set it up.</source>
        <translation>先在左侧选择数据类型，然后点击 + 按钮、双击或拖动来添加动作。拖动你的动作可调整它们在弹出列表中的顺序；选中一个动作即可重命名、设置快捷键并进行配置。</translation>
    </message>
    <message id="editorGuideDone">
        <source>Got It</source>
        <translation>知道了</translation>
    </message>
    <message id="editTip">
        <source>Open this action in the action editor.</source>
        <translation>在动作编辑器中打开这个动作。</translation>
    </message>
    <message id="hotKeyFieldPlaceholder">
        <source>Click and press a shortcut</source>
        <translation>点击后按下快捷键</translation>
    </message>
    <message id="hotKeyFieldTip">
        <source>Click here and press the keys of the shortcut. Delete clears it; a key without Ctrl, Alt, Shift or Super only counts if it is a function key.</source>
        <translation>点击这里并按下快捷键。按 Delete 可清除；不带 Ctrl、Alt、Shift 或 Super 的按键只有功能键才有效。</translation>
    </message>
    <message id="generalBehaviour">
        <source>Behaviour:</source>
        <translation>行为：</translation>
    </message>
    <message id="launchAtLogin">
        <source>Start Korvane when I log in</source>
        <translation>登录时启动 Korvane</translation>
    </message>
    <message id="launchAtLoginTip">
        <source>Korvane starts in the system tray each time you log in to the desktop.</source>
        <translation>每次登录桌面时，Korvane 都会在系统托盘中启动。</translation>
    </message>
    <message id="playSound">
        <source>Play a sound when an action finishes</source>
        <translation>动作完成时播放提示音</translation>
    </message>
    <message id="playSoundTip">
        <source>A short sound tells you that an action has finished.</source>
        <translation>动作完成时用一声短促的提示音告诉你。</translation>
    </message>
    <message id="enableNotifications">
        <source>Show a notification when an action finishes</source>
        <translation>动作完成时显示通知</translation>
    </message>
    <message id="enableNotificationsTip">
        <source>Each finished action tells you its result in a desktop notification.</source>
        <translation>每个完成的动作都会用桌面通知告诉你结果。</translation>
    </message>
    <message id="hideIcon">
        <source>Keep the preferences window out of the taskbar</source>
        <translation>不在任务栏中显示偏好设置窗口</translation>
    </message>
    <message id="hideIconTip">
        <source>The preferences window does not appear in the taskbar or the task switcher.</source>
        <translation>偏好设置窗口不会出现在任务栏和任务切换器中。</translation>
    </message>
    <message id="wakeHotKeyLabel">
        <source>Show the popover:</source>
        <translation>显示弹出列表：</translation>
    </message>
    <message id="versionLabel">
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message id="currentVersion">
        <source>You are using Korvane %1.</source>
        <translation>你正在使用 Korvane %1。</translation>
    </message>
    <message id="quitKorvaneButton">
        <source>Quit Korvane</source>
        <translation>退出 Korvane</translation>
    </message>
    <message id="quitKorvaneTip">
        <source>Korvane stops and leaves the system tray until you start it again.</source>
        <translation>Korvane 将停止运行并离开系统托盘，直到你再次启动它。</translation>
    </message>
    <message id="aboutSummary">
        <source>A drop utility for the Linux desktop: drop files, images or text on the tray icon and run your actions on them.</source>
        <translation>Linux 桌面的拖放工具：把文件、图片或文本拖到托盘图标上，运行你的动作。</translation>
    </message>
    <message id="aboutLicence">
        <source>Korvane is free software under the MIT licence.</source>
        <translation>Korvane 是以 MIT 许可证发布的自由软件。</translation>
    </message>
    <message id="aboutHomePage">
        <source>Visit Korvane's home page</source>
        <translation>访问 Korvane 主页</translation>
    </message>
    <message id="aboutThirdParty">
        <source>&lt;p&gt;&lt;b&gt;What Korvane ships with&lt;/b&gt;&lt;/p&gt;&lt;p&gt;&lt;b&gt;OpenCC dictionaries&lt;/b&gt; (the Chinese conversion tables are composed from them): Copyright 2010-2022 BYVoid, under the Apache License 2.0.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;: The Qt Company, under the GNU LGPL 3.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libvips&lt;/b&gt;: under the GNU LGPL 2.1 or later. &lt;b&gt;Exiv2&lt;/b&gt;: under the GNU GPL 2 or later.&lt;/p&gt;&lt;p&gt;The full texts are in the NOTICE file and, on Debian, in /usr/share/common-licenses.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Korvane 附带的组件&lt;/b&gt;&lt;/p&gt;&lt;p&gt;&lt;b&gt;OpenCC 词典&lt;/b&gt;（简繁转换表由其组成）：Copyright 2010-2022 BYVoid，Apache License 2.0 许可。&lt;/p&gt;&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;：The Qt Company，GNU LGPL 3 许可。&lt;/p&gt;&lt;p&gt;&lt;b&gt;libvips&lt;/b&gt;：GNU LGPL 2.1 或更高版本许可。&lt;b&gt;Exiv2&lt;/b&gt;：GNU GPL 2 或更高版本许可。&lt;/p&gt;&lt;p&gt;完整许可文本见 NOTICE 文件，Debian 系统上见 /usr/share/common-licenses。&lt;/p&gt;</translation>
    </message>
    <message id="CanNotOCR">
        <source>No text could be recognised in the image.</source>
        <translation>无法识别图片中的文字。</translation>
    </message>
    <message id="OCREngineMissing">
        <source>Text recognition is not installed: the Tesseract plug-in of Korvane was not found.</source>
        <translation>文字识别未安装：找不到 Korvane 的 Tesseract 插件。</translation>
    </message>
    <message id="OCRLanguageDataMissing">
        <source>Text recognition needs Tesseract's language data for %1. Install it (tesseract-ocr-eng, tesseract-ocr-chi-sim) or change ocr/languages.</source>
        <translation>文字识别需要 Tesseract 的 %1 语言数据。请安装（tesseract-ocr-eng、tesseract-ocr-chi-sim）或修改 ocr/languages。</translation>
    </message>
    <message id="Can not connect to the server">
        <source>Cannot connect to the server. Check the network connection.</source>
        <translation>无法连接服务器，请检查网络连接。</translation>
    </message>
    <message id="serviceNotConfigured">
        <source>No Korvane service is set up: set hosts/service in korvane.conf.</source>
        <translation>尚未设置 Korvane 服务：请在 korvane.conf 中设置 hosts/service。</translation>
    </message>
    <message id="translateNotConfigured">
        <source>Translation is not set up. Enter a LibreTranslate server (and its key if it needs one) in the settings of a translate action in Preferences, or set translate/libretranslateUrl in korvane.conf.</source>
        <translation>尚未设置翻译服务。请在偏好设置中打开翻译操作，填写 LibreTranslate 服务器地址（如服务器需要，再填写密钥），或在 korvane.conf 中设置 translate/libretranslateUrl。</translation>
    </message>
    <message id="libreTranslateServer">
        <source>LibreTranslate server:</source>
        <translation>LibreTranslate 服务器：</translation>
    </message>
    <message id="libreTranslateServerTip">
        <source>The address of the LibreTranslate server that translates for every translate action.</source>
        <translation>为所有翻译操作提供翻译的 LibreTranslate 服务器地址。</translation>
    </message>
    <message id="libreTranslateKey">
        <source>API key:</source>
        <translation>API 密钥：</translation>
    </message>
    <message id="libreTranslateKeyTip">
        <source>The server's API key, if it needs one.</source>
        <translation>服务器的 API 密钥（如需要）。</translation>
    </message>
    <message id="translateTest">
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message id="translateTesting">
        <source>Translating “hello”…</source>
        <translation>正在翻译“hello”…</translation>
    </message>
    <message id="translateTestAnswer">
        <source>The server answered: %1</source>
        <translation>服务器返回：%1</translation>
    </message>
    <message id="libreTranslateRefused">
        <source>The translation server refused: %1</source>
        <translation>翻译服务器拒绝了请求：%1</translation>
    </message>
    <message id="translateServiceLibre">
        <source>Translation uses the LibreTranslate server %1.</source>
        <translation>翻译使用 LibreTranslate 服务器 %1。</translation>
    </message>
    <message id="translateServiceOwn">
        <source>Translation uses the Korvane service %1.</source>
        <translation>翻译使用 Korvane 服务 %1。</translation>
    </message>
    <message id="translateServiceNone">
        <source>No translation service is set up: enter a LibreTranslate server above.</source>
        <translation>尚未设置翻译服务：请在上方填写 LibreTranslate 服务器地址。</translation>
    </message>
    <message id="checkForUpdate">
        <source>Check for Updates…</source>
        <translation>检查更新…</translation>
    </message>
    <message id="translationService">
        <source>Service:</source>
        <translation>翻译服务：</translation>
    </message>
    <message id="checkingForUpdate">
        <source>Checking for updates…</source>
        <translation>正在检查更新…</translation>
    </message>
    <message id="checkFailed">
        <source>Could not check for updates.</source>
        <translation>检查更新失败。</translation>
    </message>
    <message id="noUpdateAvailable">
        <source>Korvane is up to date.</source>
        <translation>已是最新版本。</translation>
    </message>
    <message id="newUpdateAvailable">
        <source>Korvane %1 is available.</source>
        <translation>Korvane %1 已发布。</translation>
    </message>
    <message id="downloadUpdateInformativeText">
        <source>Download the new version from the project's page.</source>
        <translation>请从项目主页下载新版本。</translation>
    </message>
    <message id="download">
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message id="notNow">
        <source>Not Now</source>
        <translation>以后再说</translation>
    </message>
    <message id="checkLogs">
        <source>What's New</source>
        <translation>查看更新日志</translation>
    </message>
    <message id="ok">
        <source>OK</source>
        <translation>好</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="panelName">
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message id="panelNameTip">
        <source>The name shown on the action's row and in its notifications.</source>
        <translation>显示在动作行和通知中的名称。</translation>
    </message>
    <message id="panelNameEmpty">
        <source>The action needs a name. Type one to go on.</source>
        <translation>动作需要一个名称，请输入名称后继续。</translation>
    </message>
    <message id="panelHotKey">
        <source>Shortcut:</source>
        <translation>快捷键：</translation>
    </message>
    <message id="recordHotKey">
        <source>Record Shortcut</source>
        <translation>录制快捷键</translation>
    </message>
    <message id="recordHotKeyTip">
        <source>Click, then press the keys that should run this action from any program.</source>
        <translation>点击后按下快捷键，即可在任何程序中运行此动作。</translation>
    </message>
    <message id="hotKeyNeedsModifier">
        <source>A shortcut needs Ctrl, Alt or Super with the key, unless the key is a function key (F1 to F20).</source>
        <translation>快捷键需要同时按下 Ctrl、Alt 或 Super，功能键（F1 到 F20）除外。</translation>
    </message>
    <message id="hotKeyUsedByAction">
        <source>This shortcut is already used by the action “%1”. Choose another one.</source>
        <translation>此快捷键已被动作“%1”使用，请换一个。</translation>
    </message>
    <message id="hotKeyHeldElsewhere">
        <source>Another program already uses this shortcut. Choose another one.</source>
        <translation>另一个程序已在使用此快捷键，请换一个。</translation>
    </message>
    <message id="addRecipient">
        <source>Add Recipient</source>
        <translation>添加收件人</translation>
    </message>
    <message id="addRecipientTip">
        <source>Add a new row for one more recipient.</source>
        <translation>添加一行，再填写一位收件人。</translation>
    </message>
    <message id="removeRecipient">
        <source>Remove Recipient</source>
        <translation>删除收件人</translation>
    </message>
    <message id="removeRecipientTip">
        <source>Remove the selected recipient from the list.</source>
        <translation>从列表中删除所选收件人。</translation>
    </message>
    <message id="recipients">
        <source>Recipients:</source>
        <translation>收件人：</translation>
    </message>
    <message id="recipientsTip">
        <source>One recipient per row; double-click a row to change it.</source>
        <translation>每行一位收件人；双击一行即可修改。</translation>
    </message>
    <message id="mailSubject">
        <source>Subject:</source>
        <translation>主题：</translation>
    </message>
    <message id="mailSubjectTip">
        <source>The subject the new mail starts with.</source>
        <translation>新邮件默认使用的主题。</translation>
    </message>
    <message id="capitalAutoBegin">
        <source>Start the amount with the currency word (人民币).</source>
        <translation>在金额前加上“人民币”。</translation>
    </message>
    <message id="capitalAutoBeginTip">
        <source>When on, the written amount begins with the currency word.</source>
        <translation>开启后，大写金额以“人民币”开头。</translation>
    </message>
    <message id="capitalAutoEnd">
        <source>End a whole amount with the closing word (整).</source>
        <translation>整数金额末尾加上“整”。</translation>
    </message>
    <message id="capitalAutoEndTip">
        <source>When on, an amount without a fraction ends with the closing word.</source>
        <translation>开启后，没有角分的金额以“整”结尾。</translation>
    </message>
    <message id="caseTarget">
        <source>Change to:</source>
        <translation>转换为：</translation>
    </message>
    <message id="caseTargetTip">
        <source>The letter case the text is changed to.</source>
        <translation>文本要转换成的大小写形式。</translation>
    </message>
    <message id="caseCapitalised">
        <source>Capitalised Words</source>
        <translation>单词首字母大写</translation>
    </message>
    <message id="caseUpper">
        <source>UPPER CASE</source>
        <translation>全部大写</translation>
    </message>
    <message id="caseLower">
        <source>lower case</source>
        <translation>全部小写</translation>
    </message>
    <message id="chooseFolder">
        <source>Choose…</source>
        <translation>选择…</translation>
    </message>
    <message id="chooseFolderTip">
        <source>Choose the folder the files are saved in.</source>
        <translation>选择保存文件的文件夹。</translation>
    </message>
    <message id="chooseFolderTitle">
        <source>Choose a Folder</source>
        <translation>选择文件夹</translation>
    </message>
    <message id="compressQuality">
        <source>Quality:</source>
        <translation>质量：</translation>
    </message>
    <message id="compressQualityTip">
        <source>Lower quality makes smaller files.</source>
        <translation>质量越低，文件越小。</translation>
    </message>
    <message id="compressPNGtoJPG">
        <source>Convert PNG images to JPEG to make them smaller.</source>
        <translation>将 PNG 图片转换为 JPEG 以减小体积。</translation>
    </message>
    <message id="compressPNGtoJPGTip">
        <source>PNG images cannot be compressed by quality; as JPEG they can.</source>
        <translation>PNG 图片无法按质量压缩，转换为 JPEG 后即可压缩。</translation>
    </message>
    <message id="conversionTarget">
        <source>Convert to:</source>
        <translation>转换为：</translation>
    </message>
    <message id="conversionTargetTip">
        <source>The Chinese script the text is written in afterwards.</source>
        <translation>文本转换后使用的中文字形。</translation>
    </message>
    <message id="conversionMainland">
        <source>Simplified Chinese (Mainland)</source>
        <translation>简体中文（中国大陆）</translation>
    </message>
    <message id="conversionHongKong">
        <source>Traditional Chinese (Hong Kong)</source>
        <translation>繁体中文（香港）</translation>
    </message>
    <message id="conversionTaiwan">
        <source>Traditional Chinese (Taiwan)</source>
        <translation>繁体中文（台湾）</translation>
    </message>
    <message id="countTotal">
        <source>Count all characters.</source>
        <translation>统计全部字符数。</translation>
    </message>
    <message id="countTotalTip">
        <source>Every character, spaces and punctuation included.</source>
        <translation>包括空格和标点在内的全部字符。</translation>
    </message>
    <message id="countLetter">
        <source>Count letters.</source>
        <translation>统计字母数。</translation>
    </message>
    <message id="countLetterTip">
        <source>Letters only, without digits, spaces or punctuation.</source>
        <translation>只统计字母，不含数字、空格和标点。</translation>
    </message>
    <message id="countEnWord">
        <source>Count English words.</source>
        <translation>统计英文单词数。</translation>
    </message>
    <message id="countEnWordTip">
        <source>Words of Latin letters separated by spaces or punctuation.</source>
        <translation>以空格或标点分隔的英文单词。</translation>
    </message>
    <message id="customUrlList">
        <source>Addresses:</source>
        <translation>网址：</translation>
    </message>
    <message id="customUrlListTip">
        <source>Each address opens with the text in place of {text}. Double-click a row to change it.</source>
        <translation>打开每个网址时，{text} 会被替换为文本。双击一行即可修改。</translation>
    </message>
    <message id="customUrlPlaceholder">
        <source>https://example.com/search?q={text}</source>
        <translation>https://example.com/search?q={text}</translation>
    </message>
    <message id="customUrlEmpty">
        <source>An address cannot be empty. Type one, or delete the row.</source>
        <translation>网址不能为空。请输入网址，或删除这一行。</translation>
    </message>
    <message id="customUrlAdd">
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message id="customUrlAddTip">
        <source>Add a new address and start typing it.</source>
        <translation>添加一个新网址并开始输入。</translation>
    </message>
    <message id="customUrlDelete">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="customUrlDeleteTip">
        <source>Delete the selected address.</source>
        <translation>删除所选网址。</translation>
    </message>
    <message id="customUrlInsert">
        <source>Insert {text}</source>
        <translation>插入 {text}</translation>
    </message>
    <message id="customUrlInsertTip">
        <source>Put {text} at the cursor of the selected address; it is replaced by the text.</source>
        <translation>在所选网址的光标处插入 {text}，它会被替换为文本。</translation>
    </message>
    <message id="customUrlLibrary">
        <source>Add from Library</source>
        <translation>从网址库添加</translation>
    </message>
    <message id="customUrlLibraryTip">
        <source>Add the search address of a well-known site.</source>
        <translation>添加常用网站的搜索网址。</translation>
    </message>
    <message id="customUrlNeedCopy">
        <source>Also copy the text to the clipboard.</source>
        <translation>同时将文本复制到剪贴板。</translation>
    </message>
    <message id="customUrlNeedCopyTip">
        <source>When on, the text is also put on the clipboard.</source>
        <translation>开启后，文本也会放到剪贴板上。</translation>
    </message>
    <message id="fileSavePath">
        <source>Folder:</source>
        <translation>文件夹：</translation>
    </message>
    <message id="fileSavePathTip">
        <source>The folder the files go to.</source>
        <translation>文件要放入的文件夹。</translation>
    </message>
    <message id="imageSavePath">
        <source>Save in:</source>
        <translation>保存到：</translation>
    </message>
    <message id="imageSavePathTip">
        <source>The folder the new images are saved in; empty saves them beside the originals.</source>
        <translation>新图片保存的文件夹；为空时保存在原图旁边。</translation>
    </message>
    <message id="savePathBesideSource">
        <source>Beside the original files</source>
        <translation>原文件旁边</translation>
    </message>
    <message id="savePathMissing">
        <source>This folder no longer exists. Choose another one.</source>
        <translation>此文件夹已不存在，请另选一个。</translation>
    </message>
    <message id="folderDoesNotExist">
        <source>The folder “%1” does not exist. Choose a folder that exists.</source>
        <translation>文件夹“%1”不存在，请选择一个存在的文件夹。</translation>
    </message>
    <message id="folderIsAFile">
        <source>“%1” is a file, not a folder. Choose a folder.</source>
        <translation>“%1”是文件而不是文件夹，请选择文件夹。</translation>
    </message>
    <message id="folderNotWritable">
        <source>Korvane cannot write into “%1”. Choose a folder you may change.</source>
        <translation>Korvane 无法写入“%1”，请选择一个可写的文件夹。</translation>
    </message>
    <message id="imageEndName">
        <source>Name suffix:</source>
        <translation>文件名后缀：</translation>
    </message>
    <message id="imageEndNameTip">
        <source>Text added to the end of each new image's name.</source>
        <translation>添加在每张新图片文件名末尾的文字。</translation>
    </message>
    <message id="imageEndNamePlaceholder">
        <source>for example -small</source>
        <translation>例如 -small</translation>
    </message>
    <message id="formatTarget">
        <source>Convert to:</source>
        <translation>转换为：</translation>
    </message>
    <message id="formatTargetTip">
        <source>The image format the images are converted to.</source>
        <translation>图片要转换成的格式。</translation>
    </message>
    <message id="languageChinese">
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message id="languageEnglish">
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message id="languageJapanese">
        <source>Japanese</source>
        <translation>日语</translation>
    </message>
    <message id="languageKorean">
        <source>Korean</source>
        <translation>韩语</translation>
    </message>
    <message id="languageGerman">
        <source>German</source>
        <translation>德语</translation>
    </message>
    <message id="languageFrench">
        <source>French</source>
        <translation>法语</translation>
    </message>
    <message id="translateTarget">
        <source>Translate into:</source>
        <translation>翻译为：</translation>
    </message>
    <message id="translateTargetTip">
        <source>The language the text is translated into.</source>
        <translation>文本要翻译成的语言。</translation>
    </message>
    <message id="mirrorLeftRight">
        <source>Mirror left to right</source>
        <translation>左右镜像</translation>
    </message>
    <message id="mirrorTopBottom">
        <source>Mirror top to bottom</source>
        <translation>上下镜像</translation>
    </message>
    <message id="rotateClockwise">
        <source>Rotate 90° clockwise</source>
        <translation>顺时针旋转 90°</translation>
    </message>
    <message id="rotateCounterClockwise">
        <source>Rotate 90° counterclockwise</source>
        <translation>逆时针旋转 90°</translation>
    </message>
    <message id="rotateHalf">
        <source>Rotate 180°</source>
        <translation>旋转 180°</translation>
    </message>
    <message id="rotateTarget">
        <source>Turn:</source>
        <translation>旋转方式：</translation>
    </message>
    <message id="rotateTargetTip">
        <source>How the images are turned or mirrored.</source>
        <translation>图片的旋转或镜像方式。</translation>
    </message>
    <message id="photoNeedLaunch">
        <source>Open the photo library after adding the images.</source>
        <translation>添加图片后打开照片图库。</translation>
    </message>
    <message id="photoNeedLaunchTip">
        <source>When on, the photo library program opens once the images are added.</source>
        <translation>开启后，添加图片完成时打开照片图库程序。</translation>
    </message>
    <message id="renameReplace">
        <source>Replace text in the names.</source>
        <translation>替换文件名中的文字。</translation>
    </message>
    <message id="renameReplaceTip">
        <source>Can be combined with adding text; turns off the new name.</source>
        <translation>可与添加文字同时使用；会关闭自定义名称。</translation>
    </message>
    <message id="renameSearch">
        <source>Find:</source>
        <translation>查找：</translation>
    </message>
    <message id="renameSearchTip">
        <source>The text to look for in each file name.</source>
        <translation>要在文件名中查找的文字。</translation>
    </message>
    <message id="renameReplaceWith">
        <source>Replace with:</source>
        <translation>替换为：</translation>
    </message>
    <message id="renameReplaceWithTip">
        <source>The text put in place of every match.</source>
        <translation>用于替换每处匹配的文字。</translation>
    </message>
    <message id="renameAdd">
        <source>Add text to the names.</source>
        <translation>在文件名中添加文字。</translation>
    </message>
    <message id="renameAddTip">
        <source>Can be combined with replacing text; turns off the new name.</source>
        <translation>可与替换文字同时使用；会关闭自定义名称。</translation>
    </message>
    <message id="renameAddText">
        <source>Text to add:</source>
        <translation>添加文字：</translation>
    </message>
    <message id="renameAddTextTip">
        <source>The text added to each file name.</source>
        <translation>添加到每个文件名中的文字。</translation>
    </message>
    <message id="renameAddPlace">
        <source>Add it:</source>
        <translation>添加位置：</translation>
    </message>
    <message id="renameAddPlaceTip">
        <source>Whether the text goes after or before the name.</source>
        <translation>文字放在文件名之后还是之前。</translation>
    </message>
    <message id="renameAfterName">
        <source>After the name</source>
        <translation>放在名称后</translation>
    </message>
    <message id="renameBeforeName">
        <source>Before the name</source>
        <translation>放在名称前</translation>
    </message>
    <message id="renameCustomize">
        <source>Give every file a new name.</source>
        <translation>为每个文件起一个新名称。</translation>
    </message>
    <message id="renameCustomizeTip">
        <source>Turns off replacing and adding text.</source>
        <translation>会关闭替换文字和添加文字。</translation>
    </message>
    <message id="renameCustomizeType">
        <source>Name with:</source>
        <translation>命名方式：</translation>
    </message>
    <message id="renameCustomizeTypeTip">
        <source>What tells the renamed files apart.</source>
        <translation>用什么区分重命名后的文件。</translation>
    </message>
    <message id="renameDateAndSequence">
        <source>Name, date and sequence</source>
        <translation>名称、日期和序号</translation>
    </message>
    <message id="renameNameAndNumber">
        <source>Name and number</source>
        <translation>名称和数字</translation>
    </message>
    <message id="renameNameAndLetter">
        <source>Name and letter</source>
        <translation>名称和字母</translation>
    </message>
    <message id="renameNumberOnly">
        <source>Number only</source>
        <translation>仅数字</translation>
    </message>
    <message id="renameLetterOnly">
        <source>Letter only</source>
        <translation>仅字母</translation>
    </message>
    <message id="renameCustomizePlace">
        <source>Number or letter:</source>
        <translation>数字或字母：</translation>
    </message>
    <message id="renameCustomizePlaceTip">
        <source>Whether the date, number or letter goes after or before the name.</source>
        <translation>日期、数字或字母放在名称之后还是之前。</translation>
    </message>
    <message id="renameCustomizeString">
        <source>New name:</source>
        <translation>新名称：</translation>
    </message>
    <message id="renameCustomizeStringTip">
        <source>The name that replaces each file's own name; empty keeps the file's name.</source>
        <translation>替换每个文件原名的名称；为空时保留原名。</translation>
    </message>
    <message id="renameStartNumber">
        <source>First number:</source>
        <translation>起始数字：</translation>
    </message>
    <message id="renameStartNumberTip">
        <source>The number the first file gets; a negative number is stored without its sign.</source>
        <translation>第一个文件使用的数字；负数会去掉负号保存。</translation>
    </message>
    <message id="renameStartLetter">
        <source>First letter:</source>
        <translation>起始字母：</translation>
    </message>
    <message id="renameStartLetterTip">
        <source>One letter from a to z; its case gives the case of all letters. Anything else becomes a.</source>
        <translation>a 到 z 中的一个字母，其大小写决定所有字母的大小写；其他内容会变为 a。</translation>
    </message>
    <message id="resizeMode">
        <source>Resize:</source>
        <translation>调整方式：</translation>
    </message>
    <message id="resizeToWidth">
        <source>To Width</source>
        <translation>按宽度</translation>
    </message>
    <message id="resizeToHeight">
        <source>To Height</source>
        <translation>按高度</translation>
    </message>
    <message id="resizeByPercentage">
        <source>By Percentage</source>
        <translation>按百分比</translation>
    </message>
    <message id="resizeSize">
        <source>Size:</source>
        <translation>尺寸：</translation>
    </message>
    <message id="resizeSizeTip">
        <source>Pixels for a width or height; a percentage from 1 to 100, where more than 100 counts as 100.</source>
        <translation>宽度或高度以像素计；百分比为 1 到 100，超过 100 按 100 计。</translation>
    </message>
    <message id="uploadNaming">
        <source>Name uploads:</source>
        <translation>上传文件命名：</translation>
    </message>
    <message id="uploadNamingTip">
        <source>How each uploaded file is named on the server.</source>
        <translation>每个上传文件在服务器上的命名方式。</translation>
    </message>
    <message id="uploadNamingKeep">
        <source>Keep the file's name</source>
        <translation>保留原文件名</translation>
    </message>
    <message id="uploadNamingDate">
        <source>Put the date before the name</source>
        <translation>在文件名前加日期</translation>
    </message>
    <message id="uploadNamingRandom">
        <source>Random name</source>
        <translation>随机文件名</translation>
    </message>
    <message id="cloudAccessKey">
        <source>Access key:</source>
        <translation>Access Key：</translation>
    </message>
    <message id="cloudAccessKeyTip">
        <source>The access key of your account at the storage service.</source>
        <translation>您在存储服务上的账户 Access Key。</translation>
    </message>
    <message id="cloudSecretId">
        <source>Secret ID:</source>
        <translation>SecretId：</translation>
    </message>
    <message id="cloudSecretIdTip">
        <source>The secret ID of your account at the storage service.</source>
        <translation>您在存储服务上的账户 SecretId。</translation>
    </message>
    <message id="cloudSecretKey">
        <source>Secret key:</source>
        <translation>Secret Key：</translation>
    </message>
    <message id="cloudSecretKeyTip">
        <source>The secret key that belongs to the access key. It is kept hidden.</source>
        <translation>与 Access Key 对应的密钥，输入时隐藏显示。</translation>
    </message>
    <message id="cloudBucket">
        <source>Bucket:</source>
        <translation>存储空间：</translation>
    </message>
    <message id="cloudBucketTip">
        <source>The bucket the files are uploaded into.</source>
        <translation>文件上传到的存储空间。</translation>
    </message>
    <message id="tencentBucketTip">
        <source>The bucket name without its application number.</source>
        <translation>存储桶名称，不含 APPID。</translation>
    </message>
    <message id="cloudDomain">
        <source>Address:</source>
        <translation>访问域名：</translation>
    </message>
    <message id="cloudDomainTip">
        <source>The public address of the bucket, with https:// at the start.</source>
        <translation>存储空间的公开访问地址，以 https:// 开头。</translation>
    </message>
    <message id="upOperator">
        <source>Operator:</source>
        <translation>操作员：</translation>
    </message>
    <message id="upOperatorTip">
        <source>The name of the operator allowed to upload.</source>
        <translation>有上传权限的操作员名称。</translation>
    </message>
    <message id="upPassword">
        <source>Operator password:</source>
        <translation>操作员密码：</translation>
    </message>
    <message id="upPasswordTip">
        <source>The operator's password. It is kept hidden.</source>
        <translation>操作员的密码，输入时隐藏显示。</translation>
    </message>
    <message id="weiboAccount">
        <source>Account:</source>
        <translation>账号：</translation>
    </message>
    <message id="weiboAccountTip">
        <source>The account name you sign in with.</source>
        <translation>您登录时使用的账号。</translation>
    </message>
    <message id="weiboPassWord">
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message id="weiboPassWordTip">
        <source>The password of that account. It is kept hidden.</source>
        <translation>该账号的密码，输入时隐藏显示。</translation>
    </message>
    <message id="dropWindow">
        <source>Drop Window</source>
        <translation>拖放窗口</translation>
    </message>
    <message id="dropWindowInfo">
        <source>Drop here to see the actions, or on an action to run it.</source>
        <translation>拖到这里查看动作，或拖到某个动作上直接运行。</translation>
    </message>
    <message id="dropWindowEmpty">
        <source>No actions yet: add some with Edit Actions…</source>
        <translation>还没有动作：请通过“编辑动作…”添加。</translation>
    </message>
    <message id="keepDropWindow">
        <source>Keep a drop window open</source>
        <translation>保持拖放窗口打开</translation>
    </message>
    <message id="keepDropWindowTip">
        <source>A small window to drop on stays open, also after you log in: for desktops where Korvane cannot see drags near its icon.</source>
        <translation>一个可供拖放的小窗口保持打开，登录后也会打开：适用于 Korvane 无法察觉图标附近拖动的桌面。</translation>
    </message>
    <message id="wakeHotKeyDescription">
        <source>Show Korvane's actions for the clipboard</source>
        <translation>显示适用于剪贴板内容的 Korvane 动作</translation>
    </message>
    <message id="hotKeyNotBoundWarning">
        <source>Not bound: the desktop or another program keeps this shortcut, so pressing it does nothing. Choose another one.</source>
        <translation>未绑定：桌面或其他程序占用了此快捷键，按下它不会有反应。请另选一个。</translation>
    </message>
    <message id="hotKeyNotBoundTitle">
        <source>Shortcut not bound</source>
        <translation>快捷键未绑定</translation>
    </message>
    <message id="hotKeyNotBoundBody">
        <source>%1 is kept by the desktop or another program, so pressing it does nothing. Choose another shortcut in Korvane's settings.</source>
        <translation>%1 已被桌面或其他程序占用，按下它不会有反应。请在 Korvane 的设置中另选快捷键。</translation>
    </message>
    <message id="globalShortcutsUnavailableWarning">
        <source>This desktop binds no global shortcuts for Korvane. Bind the command “korvane show” to a key in the desktop's keyboard settings instead.</source>
        <translation>此桌面不为 Korvane 绑定全局快捷键。请在桌面的键盘设置中为命令“korvane show”绑定一个按键。</translation>
    </message>
    <message id="globalShortcutsUnavailableTitle">
        <source>Korvane's shortcuts do not work here</source>
        <translation>Korvane 的快捷键在此桌面上无效</translation>
    </message>
    <message id="globalShortcutsUnavailableBody">
        <source>This desktop offers programs no global shortcuts. To open Korvane with a key, bind the command “korvane show” in the desktop's keyboard settings.</source>
        <translation>此桌面不向程序提供全局快捷键。若要用按键打开 Korvane，请在桌面的键盘设置中绑定命令“korvane show”。</translation>
    </message>
    <message id="badNewName">
        <source>“%1” cannot be a file name: a name must not be empty, “.” or “..”, hold “/” or a zero byte, or be longer than %2 bytes. No file was renamed.</source>
        <translation>“%1”不能作为文件名：文件名不能为空、“.”或“..”，不能含“/”或零字节，也不能超过 %2 字节。没有文件被重命名。</translation>
    </message>
    <message id="nameNotUtf8">
        <source>“%1”: the name is not valid UTF-8, so this action cannot open exactly that file; nothing was done with it.</source>
        <translation>“%1”：文件名不是有效的 UTF-8，此操作无法准确打开该文件，未对其做任何处理。</translation>
    </message>
    <message id="uploadNotStored">
        <source>“%1” was not stored: the store refused it or could not be reached.</source>
        <translation>“%1”未能存储：存储服务拒绝了它或无法连接。</translation>
    </message>
    <message id="textTooLong">
        <source>The text has %1 characters; text actions take at most %2, so nothing was done.</source>
        <translation>文本有 %1 个字符，文本操作最多处理 %2 个，未做任何处理。</translation>
    </message>
    <message id="textTooLongToSend">
        <source>The text is %1 bytes long; a mail or message can carry at most %2 bytes of text, so nothing was sent.</source>
        <translation>文本长 %1 字节，邮件或消息最多可携带 %2 字节的文本，未发送。</translation>
    </message>
    <message id="imageDataUndecodable">
        <source>The %1 bytes of image data do not decode as an image Korvane reads (complete, at most %2 pixels); nothing was done.</source>
        <translation>这 %1 字节的图片数据无法解码为 Korvane 可读取的图片（须完整，最多 %2 像素），未做任何处理。</translation>
    </message>
    <message id="notRegularFile">
        <source>“%1” is not a regular file; FIFOs, sockets, devices and folders are not read.</source>
        <translation>“%1”不是普通文件；不读取管道、套接字、设备和文件夹。</translation>
    </message>
    <message id="clipboardFocusTimedOut">
        <source>The clipboard was not read: Korvane's list did not get the keyboard focus within %1 s.</source>
        <translation>未能读取剪贴板：Korvane 的列表在 %1 秒内未获得键盘焦点。</translation>
    </message>
    <message id="storeWriteFailed">
        <source>This change is not saved: %1</source>
        <translation>此更改未能保存：%1</translation>
    </message>
    <message id="preferencesWindowTitle">
        <source>%1 — Korvane Preferences</source>
        <translation>%1 — Korvane 偏好设置</translation>
    </message>
</context>
</TS>
