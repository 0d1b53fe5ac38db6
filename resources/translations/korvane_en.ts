<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="translate">
        <source>Translate</source>
        <translation>Translate</translation>
    </message>
    <message id="translateInfo">
        <source>Translate the text and copy the translation.</source>
        <translation>Translate the text and copy the translation.</translation>
    </message>
    <message id="clearStyle">
        <source>Clear Text Style</source>
        <translation>Clear Text Style</translation>
    </message>
    <message id="clearStyleInfo">
        <source>Copy the text again as plain text, without fonts or colours.</source>
        <translation>Copy the text again as plain text, without fonts or colours.</translation>
    </message>
    <message id="charQuatity">
        <source>Count Characters</source>
        <translation>Count Characters</translation>
    </message>
    <message id="charQuatityInfo">
        <source>Count the characters, letters and words of the text.</source>
        <translation>Count the characters, letters and words of the text.</translation>
    </message>
    <message id="sendEmail">
        <source>Send by Mail</source>
        <translation>Send by Mail</translation>
    </message>
    <message id="sendEmailInfo">
        <source>Write a new mail with the text or files.</source>
        <translation>Write a new mail with the text or files.</translation>
    </message>
    <message id="sendMsg">
        <source>Send as Message</source>
        <translation>Send as Message</translation>
    </message>
    <message id="sendMsgInfo">
        <source>Send the text or files as a message to your phone's contacts.</source>
        <translation>Send the text or files as a message to your phone's contacts.</translation>
    </message>
    <message id="openURL">
        <source>Open Custom URLs</source>
        <translation>Open Custom URLs</translation>
    </message>
    <message id="openURLInfo">
        <source>Open your own search addresses with the text in place of {text}.</source>
        <translation>Open your own search addresses with the text in place of {text}.</translation>
    </message>
    <message id="chineseConverter">
        <source>Simplified/Traditional Chinese</source>
        <translation>Simplified/Traditional Chinese</translation>
    </message>
    <message id="chineseConverterInfo">
        <source>Convert the text between simplified and traditional Chinese.</source>
        <translation>Convert the text between simplified and traditional Chinese.</translation>
    </message>
    <message id="capitalPrice">
        <source>Chinese Capital Amount</source>
        <translation>Chinese Capital Amount</translation>
    </message>
    <message id="capitalPriceInfo">
        <source>Write a number as a Chinese capital money amount.</source>
        <translation>Write a number as a Chinese capital money amount.</translation>
    </message>
    <message id="caseConvert">
        <source>Letter Case</source>
        <translation>Letter Case</translation>
    </message>
    <message id="caseConvertInfo">
        <source>Change the text to upper case, lower case or capitalised words.</source>
        <translation>Change the text to upper case, lower case or capitalised words.</translation>
    </message>
    <message id="airDropText">
        <source>Nearby Share</source>
        <translation>Nearby Share</translation>
    </message>
    <message id="airDropTextInfo">
        <source>Share the text with a nearby device.</source>
        <translation>Share the text with a nearby device.</translation>
    </message>
    <message id="imageCompress">
        <source>Compress Images</source>
        <translation>Compress Images</translation>
    </message>
    <message id="imageCompressInfo">
        <source>Make images smaller at the quality you choose.</source>
        <translation>Make images smaller at the quality you choose.</translation>
    </message>
    <message id="imageConvert">
        <source>Convert Image Format</source>
        <translation>Convert Image Format</translation>
    </message>
    <message id="imageConvertInfo">
        <source>Convert images to JPG, PNG or BMP.</source>
        <translation>Convert images to JPG, PNG or BMP.</translation>
    </message>
    <message id="imageResize">
        <source>Resize Images</source>
        <translation>Resize Images</translation>
    </message>
    <message id="imageResizeInfo">
        <source>Scale images to a width, a height or a percentage.</source>
        <translation>Scale images to a width, a height or a percentage.</translation>
    </message>
    <message id="imageOCR">
        <source>Recognise Text</source>
        <translation>Recognise Text</translation>
    </message>
    <message id="imageOCRInfo">
        <source>Recognise the text in images and copy it.</source>
        <translation>Recognise the text in images and copy it.</translation>
    </message>
    <message id="imageDataRemove">
        <source>Remove Metadata</source>
        <translation>Remove Metadata</translation>
    </message>
    <message id="imageDataRemoveInfo">
        <source>Remove location, camera and other data from photos.</source>
        <translation>Remove location, camera and other data from photos.</translation>
    </message>
    <message id="imageUplodaToBed">
        <source>Upload to Image Bed</source>
        <translation>Upload to Image Bed</translation>
    </message>
    <message id="imageUplodaToBedInfo">
        <source>Upload images and copy their links.</source>
        <translation>Upload images and copy their links.</translation>
    </message>
    <message id="imageToPhoto">
        <source>Add to Photos</source>
        <translation>Add to Photos</translation>
    </message>
    <message id="imageToPhotoInfo">
        <source>Add images and videos to your photo folder.</source>
        <translation>Add images and videos to your photo folder.</translation>
    </message>
    <message id="airDrop">
        <source>Nearby Share</source>
        <translation>Nearby Share</translation>
    </message>
    <message id="airDropInfo">
        <source>Share files with a nearby device.</source>
        <translation>Share files with a nearby device.</translation>
    </message>
    <message id="moveToPath">
        <source>Move to Folder</source>
        <translation>Move to Folder</translation>
    </message>
    <message id="moveToPathInfo">
        <source>Move the files into a folder you choose.</source>
        <translation>Move the files into a folder you choose.</translation>
    </message>
    <message id="copyFile">
        <source>Copy to Folder</source>
        <translation>Copy to Folder</translation>
    </message>
    <message id="copyFileInfo">
        <source>Copy the files into a folder you choose.</source>
        <translation>Copy the files into a folder you choose.</translation>
    </message>
    <message id="uploadQiniu">
        <source>Upload to Qiniu</source>
        <translation>Upload to Qiniu</translation>
    </message>
    <message id="uploadQiniuInfo">
        <source>Upload files to a Qiniu bucket and copy their links.</source>
        <translation>Upload files to a Qiniu bucket and copy their links.</translation>
    </message>
    <message id="uploadAli">
        <source>Upload to Aliyun OSS</source>
        <translation>Upload to Aliyun OSS</translation>
    </message>
    <message id="uploadAliInfo">
        <source>Upload files to an Aliyun OSS bucket and copy their links.</source>
        <translation>Upload files to an Aliyun OSS bucket and copy their links.</translation>
    </message>
    <message id="uploadTencent">
        <source>Upload to Tencent COS</source>
        <translation>Upload to Tencent COS</translation>
    </message>
    <message id="uploadTencentInfo">
        <source>Upload files to a Tencent COS bucket and copy their links.</source>
        <translation>Upload files to a Tencent COS bucket and copy their links.</translation>
    </message>
    <message id="uploadUP">
        <source>Upload to UpYun</source>
        <translation>Upload to UpYun</translation>
    </message>
    <message id="uploadUPInfo">
        <source>Upload files to an UpYun bucket and copy their links.</source>
        <translation>Upload files to an UpYun bucket and copy their links.</translation>
    </message>
    <message id="imageRotate">
        <source>Rotate Images</source>
        <translation>Rotate Images</translation>
    </message>
    <message id="imageRotateInfo">
        <source>Turn or mirror images.</source>
        <translation>Turn or mirror images.</translation>
    </message>
    <message id="renameFiles">
        <source>Rename Files</source>
        <translation>Rename Files</translation>
    </message>
    <message id="renameFilesInfo">
        <source>Rename files by a pattern.</source>
        <translation>Rename files by a pattern.</translation>
    </message>
    <message id="CommonActions">
        <source>Common</source>
        <translation>Common</translation>
    </message>
    <message id="SendTexts">
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message id="ProActions">
        <source>Advanced</source>
        <translation>Advanced</translation>
    </message>
    <message id="ChineseActions">
        <source>Chinese</source>
        <translation>Chinese</translation>
    </message>
    <message id="ImageActions">
        <source>Images</source>
        <translation>Images</translation>
    </message>
    <message id="SendFiles">
        <source>Send and Upload</source>
        <translation>Send and Upload</translation>
    </message>
    <message id="AllCharactersQty">
        <source>Characters: %1. </source>
        <translation>Characters: %1. </translation>
    </message>
    <message id="LettersQty">
        <source>Letters: %1. </source>
        <translation>Letters: %1. </translation>
    </message>
    <message id="EnglishWordsQty">
        <source>English words: %1. </source>
        <translation>English words: %1. </translation>
    </message>
    <message id="noEnLetter">
        <source>The text has no English letters to change.</source>
        <translation>The text has no English letters to change.</translation>
    </message>
    <message id="CustomUrlNotSet">
        <source>This action has no URL yet. Add one in its settings.</source>
        <translation>This action has no URL yet. Add one in its settings.</translation>
    </message>
    <message id="PleaseEnterNumbers">
        <source>Please drop a number, such as 1234.56.</source>
        <translation>Please drop a number, such as 1234.56.</translation>
    </message>
    <message id="TranslateFailed">
        <source>The translation came back empty.</source>
        <translation>The translation came back empty.</translation>
    </message>
    <message id="CanNotConnectToServer">
        <source>Cannot connect to the server.</source>
        <translation>Cannot connect to the server.</translation>
    </message>
    <message id="AirDropFilesShared">
        <source>%1 file(s) shared.</source>
        <translation>%1 file(s) shared.</translation>
    </message>
    <message id="PleaseEnterWeiboAccount">
        <source>Enter your Weibo account and password in the action's settings.</source>
        <translation>Enter your Weibo account and password in the action's settings.</translation>
    </message>
    <message id="WrongWeiboAccount">
        <source>The Weibo account or password is wrong.</source>
        <translation>The Weibo account or password is wrong.</translation>
    </message>
    <message id="NImagesUploadWeiboFailed">
        <source>%1 image(s) could not be uploaded to Weibo.</source>
        <translation>%1 image(s) could not be uploaded to Weibo.</translation>
    </message>
    <message id="UploadWeiboFailed">
        <source>Nothing could be uploaded to Weibo.</source>
        <translation>Nothing could be uploaded to Weibo.</translation>
    </message>
    <message id="PleaseEnterQiniuAccount">
        <source>Enter the access key, secret key and bucket in the action's settings.</source>
        <translation>Enter the access key, secret key and bucket in the action's settings.</translation>
    </message>
    <message id="WrongQiniuAccount">
        <source>The access key or secret key is wrong.</source>
        <translation>The access key or secret key is wrong.</translation>
    </message>
    <message id="NImagesUploadFailed">
        <source>%1 file(s) could not be uploaded.</source>
        <translation>%1 file(s) could not be uploaded.</translation>
    </message>
    <message id="UploadFailed">
        <source>Nothing could be uploaded.</source>
        <translation>Nothing could be uploaded.</translation>
    </message>
    <message id="QCloudBucketNotFound">
        <source>The COS bucket %1 was not found for these keys.</source>
        <translation>The COS bucket %1 was not found for these keys.</translation>
    </message>
    <message id="Baidu">
        <source>Baidu</source>
        <translation>Baidu</translation>
    </message>
    <message id="Weibo">
        <source>Weibo</source>
        <translation>Weibo</translation>
    </message>
    <message id="Wechat">
        <source>WeChat Articles</source>
        <translation>WeChat Articles</translation>
    </message>
    <message id="Zhihu">
        <source>Zhihu</source>
        <translation>Zhihu</translation>
    </message>
    <message id="Taobao">
        <source>Taobao</source>
        <translation>Taobao</translation>
    </message>
    <message id="JD">
        <source>JD.com</source>
        <translation>JD.com</translation>
    </message>
    <message id="Translate to English">
        <source>Translate to English</source>
        <translation>Translate to English</translation>
    </message>
    <message id="Translate to Chinese">
        <source>Translate to Chinese</source>
        <translation>Translate to Chinese</translation>
    </message>
    <message id="Search Mac App Store">
        <source>Search the App Store</source>
        <translation>Search the App Store</translation>
    </message>
    <message id="Send Email">
        <source>Send Email</source>
        <translation>Send Email</translation>
    </message>
    <message id="ImageAddedToPhotos">
        <source>The image was added to Pictures/Korvane.</source>
        <translation>The image was added to Pictures/Korvane.</translation>
    </message>
    <message id="NImageAddedToPhotos">
        <source>%1 item(s) added to Pictures/Korvane.</source>
        <translation>%1 item(s) added to Pictures/Korvane.</translation>
    </message>
    <message id="ShareNeedsKDEConnect">
        <source>Sending to a phone needs KDE Connect: install the kdeconnect package and pair your phone.</source>
        <translation>Sending to a phone needs KDE Connect: install the kdeconnect package and pair your phone.</translation>
    </message>
    <message id="ShareNeedsPairedDevice">
        <source>No paired device is reachable. Pair your phone in KDE Connect and keep it on the same network.</source>
        <translation>No paired device is reachable. Pair your phone in KDE Connect and keep it on the same network.</translation>
    </message>
    <message id="ShareSendFailed">
        <source>KDE Connect could not send everything to the paired device.</source>
        <translation>KDE Connect could not send everything to the paired device.</translation>
    </message>
    <message id="CapitalAmountNegative">
        <source>A capital amount cannot be negative.</source>
        <translation>A capital amount cannot be negative.</translation>
    </message>
    <message id="CapitalAmountTooLarge">
        <source>The amount is too large: at most 13 digits before the decimal point.</source>
        <translation>The amount is too large: at most 13 digits before the decimal point.</translation>
    </message>
    <message id="CapitalAmountExponent">
        <source>Write the amount in plain digits, without an exponent.</source>
        <translation>Write the amount in plain digits, without an exponent.</translation>
    </message>
    <message id="CapitalAmountBelowOne">
        <source>The amount must be at least 1.</source>
        <translation>The amount must be at least 1.</translation>
    </message>
    <message id="CapitalAmountNotNumber">
        <source>The amount must be digits with at most one decimal point.</source>
        <translation>The amount must be digits with at most one decimal point.</translation>
    </message>
    <message id="(None)">
        <source>(None)</source>
        <translation>(None)</translation>
    </message>
    <message id="dropHere">
        <source>Drop here</source>
        <translation>Drop here</translation>
    </message>
    <message id="nothingRecognised">
        <source>Nothing to work on</source>
        <translation>Nothing to work on</translation>
    </message>
    <message id="nothingRecognisedInfo">
        <source>Copy text, an image or files, or drag them onto the icon.</source>
        <translation>Copy text, an image or files, or drag them onto the icon.</translation>
    </message>
    <message id="typeSomething">
        <source>Type text to act on</source>
        <translation>Type text to act on</translation>
    </message>
    <message id="settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="imagesNumber">
        <source>%1 image</source>
        <translation>%1 image</translation>
    </message>
    <message id="imagesNumbers">
        <source>%1 images</source>
        <translation>%1 images</translation>
    </message>
    <message id="fileNumber">
        <source>%1 file</source>
        <translation>%1 file</translation>
    </message>
    <message id="filesNumbers">
        <source>%1 files</source>
        <translation>%1 files</translation>
    </message>
    <message id="wrongInputContent">
        <source>This action does not take what is on the clipboard.</source>
        <translation>This action does not take what is on the clipboard.</translation>
    </message>
    <message id="edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="editActions">
        <source>Edit Actions…</source>
        <translation>Edit Actions…</translation>
    </message>
    <message id="preferences">
        <source>Preferences…</source>
        <translation>Preferences…</translation>
    </message>
    <message id="about">
        <source>About Korvane</source>
        <translation>About Korvane</translation>
    </message>
    <message id="quitKorvane">
        <source>Quit Korvane</source>
        <translation>Quit Korvane</translation>
    </message>
    <message id="succeedNotif">
        <source>%1 succeeded</source>
        <translation>%1 succeeded</translation>
    </message>
    <message id="failureNotif">
        <source>%1 failed</source>
        <translation>%1 failed</translation>
    </message>
    <message id="NoFile">
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message id="MustBeFolder">
        <source>The destination is not a folder.</source>
        <translation>The destination is not a folder.</translation>
    </message>
    <message id="folderIntoItself">
        <source>A folder cannot be put into itself.</source>
        <translation>A folder cannot be put into itself.</translation>
    </message>
    <message id="CopyFolderFailed">
        <source>No file could be copied.</source>
        <translation>No file could be copied.</translation>
    </message>
    <message id="CopyFolderSucceed">
        <source>The files were copied.</source>
        <translation>The files were copied.</translation>
    </message>
    <message id="MoveFolderFailed">
        <source>No file could be moved.</source>
        <translation>No file could be moved.</translation>
    </message>
    <message id="MoveFolderSucceed">
        <source>The files were moved.</source>
        <translation>The files were moved.</translation>
    </message>
    <message id="renameFailed">
        <source>No file could be renamed.</source>
        <translation>No file could be renamed.</translation>
    </message>
    <message id="renameSucceed">
        <source>The files were renamed.</source>
        <translation>The files were renamed.</translation>
    </message>
    <message id="optionNotSetProperly">
        <source>The rename options are incomplete: a text to search for, replace with or add is empty.</source>
        <translation>The rename options are incomplete: a text to search for, replace with or add is empty.</translation>
    </message>
    <message id="pasteBoardImageCompressed">
        <source>The compressed image is on the clipboard, %1 smaller.</source>
        <translation>The compressed image is on the clipboard, %1 smaller.</translation>
    </message>
    <message id="CompressedImageIsLarger">
        <source>The compressed image would be larger than the original; nothing was copied.</source>
        <translation>The compressed image would be larger than the original; nothing was copied.</translation>
    </message>
    <message id="NImagesCompressed">
        <source>%1 image(s) compressed, %2 saved. </source>
        <translation>%1 image(s) compressed, %2 saved. </translation>
    </message>
    <message id="NImagesCanNotCompressPending">
        <source>%1 image(s) could not be compressed.</source>
        <translation>%1 image(s) could not be compressed.</translation>
    </message>
    <message id="NImagesCanNotCompressed">
        <source>%1 image(s) could not be compressed.</source>
        <translation>%1 image(s) could not be compressed.</translation>
    </message>
    <message id="NPNGImagesCanNotCompressed">
        <source>%1 PNG image(s) were not compressed: turn on converting PNG to JPG to compress them.</source>
        <translation>%1 PNG image(s) were not compressed: turn on converting PNG to JPG to compress them.</translation>
    </message>
    <message id="pasteBoardImageConverted">
        <source>The converted image is on the clipboard.</source>
        <translation>The converted image is on the clipboard.</translation>
    </message>
    <message id="NImagesConverted">
        <source>%1 image(s) converted. </source>
        <translation>%1 image(s) converted. </translation>
    </message>
    <message id="NImagesCanNotConvertPending">
        <source>%1 image(s) could not be converted.</source>
        <translation>%1 image(s) could not be converted.</translation>
    </message>
    <message id="NImagesCanNotConvert">
        <source>%1 image(s) could not be converted: unreadable, or already in that format.</source>
        <translation>%1 image(s) could not be converted: unreadable, or already in that format.</translation>
    </message>
    <message id="pasteBoardImageResized">
        <source>The resized image is on the clipboard.</source>
        <translation>The resized image is on the clipboard.</translation>
    </message>
    <message id="NImagesResized">
        <source>%1 image(s) resized. </source>
        <translation>%1 image(s) resized. </translation>
    </message>
    <message id="NImagesCanNotResizePending">
        <source>%1 image(s) could not be resized.</source>
        <translation>%1 image(s) could not be resized.</translation>
    </message>
    <message id="NImagesCanNotResize">
        <source>%1 image(s) could not be resized: unreadable, or a size outside 2 to 9999 pixels.</source>
        <translation>%1 image(s) could not be resized: unreadable, or a size outside 2 to 9999 pixels.</translation>
    </message>
    <message id="pasteBoardImageRotate">
        <source>The rotated image is on the clipboard.</source>
        <translation>The rotated image is on the clipboard.</translation>
    </message>
    <message id="NImageRoated">
        <source>%1 image rotated. </source>
        <translation>%1 image rotated. </translation>
    </message>
    <message id="NImagesRoated">
        <source>%1 images rotated. </source>
        <translation>%1 images rotated. </translation>
    </message>
    <message id="NImagesCanNotRoatedPending">
        <source>%1 image(s) could not be rotated.</source>
        <translation>%1 image(s) could not be rotated.</translation>
    </message>
    <message id="NImagesCanNotRoated">
        <source>%1 image(s) could not be rotated.</source>
        <translation>%1 image(s) could not be rotated.</translation>
    </message>
    <message id="pasteBoardImageMetadataRemoved">
        <source>The image without its metadata is on the clipboard.</source>
        <translation>The image without its metadata is on the clipboard.</translation>
    </message>
    <message id="NImagesRemovedMetadata">
        <source>Metadata removed from %1 image(s). </source>
        <translation>Metadata removed from %1 image(s). </translation>
    </message>
    <message id="NImagesCanNotRemoveMetadata">
        <source>%1 image(s) kept their metadata: they could not be read or written.</source>
        <translation>%1 image(s) kept their metadata: they could not be read or written.</translation>
    </message>
    <message id="NImagesCanNotRemoveData">
        <source>Metadata could not be removed from %1 image(s).</source>
        <translation>Metadata could not be removed from %1 image(s).</translation>
    </message>
    <message id="actionEditorTab">
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message id="generalTab">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="aboutTab">
        <source>About</source>
        <translation>About</translation>
    </message>
    <message id="files">
        <source>Files and Images</source>
        <translation>Files and Images</translation>
    </message>
    <message id="text">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="textActionPreview">
        <source>Text actions in the popover</source>
        <translation>Text actions in the popover</translation>
    </message>
    <message id="fileActionPreview">
        <source>File and image actions in the popover</source>
        <translation>File and image actions in the popover</translation>
    </message>
    <message id="typeListName">
        <source>Kind of data</source>
        <translation>Kind of data</translation>
    </message>
    <message id="catalogOutlineName">
        <source>Actions you can add</source>
        <translation>Actions you can add</translation>
    </message>
    <message id="actionListName">
        <source>Your actions</source>
        <translation>Your actions</translation>
    </message>
    <message id="actionListTip">
        <source>Drag an action to change its place in the popover, or drag one here from the list on the left to add it.</source>
        <translation>Drag an action to change its place in the popover, or drag one here from the list on the left to add it.</translation>
    </message>
    <message id="addActionTip">
        <source>Add this action to the end of your actions.</source>
        <translation>Add this action to the end of your actions.</translation>
    </message>
    <message id="removeActionTip">
        <source>Remove this action from the popover.</source>
        <translation>Remove this action from the popover.</translation>
    </message>
    <message id="noSettingsPanel">
        <source>This action has no settings of its own.</source>
        <translation>This action has no settings of its own.</translation>
    </message>
    <message id="editorGuide">
        <source>Choose a kind of data on the left, then add actions with the + button, by double-clicking them or by dragging them into your list. Drag your actions to put them in the order the popover shows them, and select one to name it, give it a shortcut and set it up.</source>
        <translation>Choose a kind of data on the left, then add actions with the + button, by double-clicking them or by dragging them into your list. Drag your actions to put them in the order the popover shows them, and select one to name it, give it a shortcut and set it up.</translation>
    </message>
    <message id="editorGuideDone">
        <source>Got It</source>
        <translation>Got It</translation>
    </message>
    <message id="editTip">
        <source>Open this action in the action editor.</source>
        <translation>Open this action in the action editor.</translation>
    </message>
    <message id="hotKeyFieldPlaceholder">
        <source>Click and press a shortcut</source>
        <translation>Click and press a shortcut</translation>
    </message>
    <message id="hotKeyFieldTip">
        <source>Click here and press the keys of the shortcut. Delete clears it; a key without Ctrl, Alt, Shift or Super only counts if it is a function key.</source>
        <translation>Click here and press the keys of the shortcut. Delete clears it; a key without Ctrl, Alt, Shift or Super only counts if it is a function key.</translation>
    </message>
    <message id="generalBehaviour">
        <source>Behaviour:</source>
        <translation>Behaviour:</translation>
    </message>
    <message id="launchAtLogin">
        <source>Start Korvane when I log in</source>
        <translation>Start Korvane when I log in</translation>
    </message>
    <message id="launchAtLoginTip">
        <source>Korvane starts in the system tray each time you log in to the desktop.</source>
        <translation>Korvane starts in the system tray each time you log in to the desktop.</translation>
    </message>
    <message id="playSound">
        <source>Play a sound when an action finishes</source>
        <translation>Play a sound when an action finishes</translation>
    </message>
    <message id="playSoundTip">
        <source>A short sound tells you that an action has finished.</source>
        <translation>A short sound tells you that an action has finished.</translation>
    </message>
    <message id="enableNotifications">
        <source>Show a notification when an action finishes</source>
        <translation>Show a notification when an action finishes</translation>
    </message>
    <message id="enableNotificationsTip">
        <source>Each finished action tells you its result in a desktop notification.</source>
        <translation>Each finished action tells you its result in a desktop notification.</translation>
    </message>
    <message id="hideIcon">
        <source>Keep the preferences window out of the taskbar</source>
        <translation>Keep the preferences window out of the taskbar</translation>
    </message>
    <message id="hideIconTip">
        <source>The preferences window does not appear in the taskbar or the task switcher.</source>
        <translation>The preferences window does not appear in the taskbar or the task switcher.</translation>
    </message>
    <message id="wakeHotKeyLabel">
        <source>Show the popover:</source>
        <translation>Show the popover:</translation>
    </message>
    <message id="versionLabel">
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message id="currentVersion">
        <source>You are using Korvane %1.</source>
        <translation>You are using Korvane %1.</translation>
    </message>
    <message id="quitKorvaneButton">
        <source>Quit Korvane</source>
        <translation>Quit Korvane</translation>
    </message>
    <message id="quitKorvaneTip">
        <source>Korvane stops and leaves the system tray until you start it again.</source>
        <translation>Korvane stops and leaves the system tray until you start it again.</translation>
    </message>
    <message id="aboutSummary">
        <source>A drop utility for the Linux desktop: drop files, images or text on the tray icon and run your actions on them.</source>
        <translation>A drop utility for the Linux desktop: drop files, images or text on the tray icon and run your actions on them.</translation>
    </message>
    <message id="aboutLicence">
        <source>Korvane is free software under the MIT licence.</source>
        <translation>Korvane is free software under the MIT licence.</translation>
    </message>
    <message id="aboutHomePage">
        <source>Visit Korvane's home page</source>
        <translation>Visit Korvane's home page</translation>
    </message>
    <message id="aboutThirdParty">
        <source>&lt;p&gt;&lt;b&gt;What Korvane ships with&lt;/b&gt;&lt;/p&gt;&lt;p&gt;&lt;b&gt;OpenCC dictionaries&lt;/b&gt; (the Chinese conversion tables are composed from them): Copyright 2010-2022 BYVoid, under the Apache License 2.0.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;: The Qt Company, under the GNU LGPL 3.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libvips&lt;/b&gt;: under the GNU LGPL 2.1 or later. &lt;b&gt;Exiv2&lt;/b&gt;: under the GNU GPL 2 or later.&lt;/p&gt;&lt;p&gt;The full texts are in the NOTICE file and, on Debian, in /usr/share/common-licenses.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;What Korvane ships with&lt;/b&gt;&lt;/p&gt;&lt;p&gt;&lt;b&gt;OpenCC dictionaries&lt;/b&gt; (the Chinese conversion tables are composed from them): Copyright 2010-2022 BYVoid, under the Apache License 2.0.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;: The Qt Company, under the GNU LGPL 3.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libvips&lt;/b&gt;: under the GNU LGPL 2.1 or later. &lt;b&gt;Exiv2&lt;/b&gt;: under the GNU GPL 2 or later.&lt;/p&gt;&lt;p&gt;The full texts are in the NOTICE file and, on Debian, in /usr/share/common-licenses.&lt;/p&gt;</translation>
    </message>
    <message id="CanNotOCR">
        <source>No text could be recognised in the image.</source>
        <translation>No text could be recognised in the image.</translation>
    </message>
    <message id="OCREngineMissing">
        <source>Text recognition is not installed: the Tesseract plug-in of Korvane was not found.</source>
        <translation>Text recognition is not installed: the Tesseract plug-in of Korvane was not found.</translation>
    </message>
    <message id="OCRLanguageDataMissing">
        <source>Text recognition needs Tesseract's language data for %1. Install it (tesseract-ocr-eng, tesseract-ocr-chi-sim) or change ocr/languages.</source>
        <translation>Text recognition needs Tesseract's language data for %1. Install it (tesseract-ocr-eng, tesseract-ocr-chi-sim) or change ocr/languages.</translation>
    </message>
    <message id="Can not connect to the server">
        <source>Cannot connect to the server. Check the network connection.</source>
        <translation>Cannot connect to the server. Check the network connection.</translation>
    </message>
    <message id="serviceNotConfigured">
        <source>No Korvane service is set up: set hosts/service in korvane.conf.</source>
        <translation>No Korvane service is set up: set hosts/service in korvane.conf.</translation>
    </message>
    <message id="translateNotConfigured">
        <source>Translation is not set up. Set translate/libretranslateUrl (and translate/libretranslateKey if the server needs one) to a LibreTranslate server, or hosts/service, in korvane.conf.</source>
        <translation>Translation is not set up. Set translate/libretranslateUrl (and translate/libretranslateKey if the server needs one) to a LibreTranslate server, or hosts/service, in korvane.conf.</translation>
    </message>
    <message id="libreTranslateRefused">
        <source>The translation server refused: %1</source>
        <translation>The translation server refused: %1</translation>
    </message>
    <message id="translateServiceLibre">
        <source>Translation uses the LibreTranslate server %1.</source>
        <translation>Translation uses the LibreTranslate server %1.</translation>
    </message>
    <message id="translateServiceOwn">
        <source>Translation uses the Korvane service %1.</source>
        <translation>Translation uses the Korvane service %1.</translation>
    </message>
    <message id="translateServiceNone">
        <source>No translation service is set up: set translate/libretranslateUrl in korvane.conf.</source>
        <translation>No translation service is set up: set translate/libretranslateUrl in korvane.conf.</translation>
    </message>
    <message id="checkingForUpdate">
        <source>Checking for updates…</source>
        <translation>Checking for updates…</translation>
    </message>
    <message id="checkFailed">
        <source>Could not check for updates.</source>
        <translation>Could not check for updates.</translation>
    </message>
    <message id="noUpdateAvailable">
        <source>Korvane is up to date.</source>
        <translation>Korvane is up to date.</translation>
    </message>
    <message id="newUpdateAvailable">
        <source>Korvane %1 is available.</source>
        <translation>Korvane %1 is available.</translation>
    </message>
    <message id="downloadUpdateInformativeText">
        <source>Download the new version from the project's page.</source>
        <translation>Download the new version from the project's page.</translation>
    </message>
    <message id="download">
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message id="notNow">
        <source>Not Now</source>
        <translation>Not Now</translation>
    </message>
    <message id="checkLogs">
        <source>What's New</source>
        <translation>What's New</translation>
    </message>
    <message id="ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
