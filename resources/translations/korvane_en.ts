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
    <message id="Search Flathub">
        <source>Search Flathub</source>
        <translation>Search Flathub</translation>
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
    <message id="CapitalAmountZero">
        <source>The amount is zero: there is nothing to write.</source>
        <translation>The amount is zero: there is nothing to write.</translation>
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
    <message id="noTrayTitle">
        <source>Korvane is running</source>
        <translation>Korvane is running</translation>
    </message>
    <message id="noTrayInfo">
        <source>This desktop has no tray for Korvane's icon. Press %1 or run “korvane show” for the actions on the clipboard, and drop files on the drop window in the tray menu.</source>
        <translation>This desktop has no tray for Korvane's icon. Press %1 or run “korvane show” for the actions on the clipboard, and drop files on the drop window in the tray menu.</translation>
    </message>
    <message id="noTrayInfoNoHotKey">
        <source>This desktop has no tray for Korvane's icon. Run “korvane show” (bind it to a key in the keyboard settings) for the actions on the clipboard, and drop files on the drop window in the tray menu.</source>
        <translation>This desktop has no tray for Korvane's icon. Run “korvane show” (bind it to a key in the keyboard settings) for the actions on the clipboard, and drop files on the drop window in the tray menu.</translation>
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
        <source>Translation is not set up. Enter a LibreTranslate server (and its key if it needs one) in the settings of a translate action in Preferences, or set translate/libretranslateUrl in korvane.conf.</source>
        <translation>Translation is not set up. Enter a LibreTranslate server (and its key if it needs one) in the settings of a translate action in Preferences, or set translate/libretranslateUrl in korvane.conf.</translation>
    </message>
    <message id="libreTranslateServer">
        <source>LibreTranslate server:</source>
        <translation>LibreTranslate server:</translation>
    </message>
    <message id="libreTranslateServerTip">
        <source>The address of the LibreTranslate server that translates for every translate action.</source>
        <translation>The address of the LibreTranslate server that translates for every translate action.</translation>
    </message>
    <message id="libreTranslateKey">
        <source>API key:</source>
        <translation>API key:</translation>
    </message>
    <message id="libreTranslateKeyTip">
        <source>The server's API key, if it needs one.</source>
        <translation>The server's API key, if it needs one.</translation>
    </message>
    <message id="translateTest">
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message id="translateTesting">
        <source>Translating “hello”…</source>
        <translation>Translating “hello”…</translation>
    </message>
    <message id="translateTestAnswer">
        <source>The server answered: %1</source>
        <translation>The server answered: %1</translation>
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
        <source>No translation service is set up: enter a LibreTranslate server above.</source>
        <translation>No translation service is set up: enter a LibreTranslate server above.</translation>
    </message>
    <message id="checkForUpdate">
        <source>Check for Updates…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message id="translationService">
        <source>Service:</source>
        <translation>Service:</translation>
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
    <message id="panelName">
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message id="panelNameTip">
        <source>The name shown on the action's row and in its notifications.</source>
        <translation>The name shown on the action's row and in its notifications.</translation>
    </message>
    <message id="panelNameEmpty">
        <source>The action needs a name. Type one to go on.</source>
        <translation>The action needs a name. Type one to go on.</translation>
    </message>
    <message id="panelHotKey">
        <source>Shortcut:</source>
        <translation>Shortcut:</translation>
    </message>
    <message id="recordHotKey">
        <source>Record Shortcut</source>
        <translation>Record Shortcut</translation>
    </message>
    <message id="recordHotKeyTip">
        <source>Click, then press the keys that should run this action from any program.</source>
        <translation>Click, then press the keys that should run this action from any program.</translation>
    </message>
    <message id="hotKeyNeedsModifier">
        <source>A shortcut needs Ctrl, Alt or Super with the key, unless the key is a function key (F1 to F20).</source>
        <translation>A shortcut needs Ctrl, Alt or Super with the key, unless the key is a function key (F1 to F20).</translation>
    </message>
    <message id="hotKeyUsedByAction">
        <source>This shortcut is already used by the action “%1”. Choose another one.</source>
        <translation>This shortcut is already used by the action “%1”. Choose another one.</translation>
    </message>
    <message id="hotKeyHeldElsewhere">
        <source>Another program already uses this shortcut. Choose another one.</source>
        <translation>Another program already uses this shortcut. Choose another one.</translation>
    </message>
    <message id="addRecipient">
        <source>Add Recipient</source>
        <translation>Add Recipient</translation>
    </message>
    <message id="addRecipientTip">
        <source>Add a new row for one more recipient.</source>
        <translation>Add a new row for one more recipient.</translation>
    </message>
    <message id="removeRecipient">
        <source>Remove Recipient</source>
        <translation>Remove Recipient</translation>
    </message>
    <message id="removeRecipientTip">
        <source>Remove the selected recipient from the list.</source>
        <translation>Remove the selected recipient from the list.</translation>
    </message>
    <message id="recipients">
        <source>Recipients:</source>
        <translation>Recipients:</translation>
    </message>
    <message id="recipientsTip">
        <source>One recipient per row; double-click a row to change it.</source>
        <translation>One recipient per row; double-click a row to change it.</translation>
    </message>
    <message id="mailSubject">
        <source>Subject:</source>
        <translation>Subject:</translation>
    </message>
    <message id="mailSubjectTip">
        <source>The subject the new mail starts with.</source>
        <translation>The subject the new mail starts with.</translation>
    </message>
    <message id="capitalAutoBegin">
        <source>Start the amount with the currency word (人民币).</source>
        <translation>Start the amount with the currency word (人民币).</translation>
    </message>
    <message id="capitalAutoBeginTip">
        <source>When on, the written amount begins with the currency word.</source>
        <translation>When on, the written amount begins with the currency word.</translation>
    </message>
    <message id="capitalAutoEnd">
        <source>End a whole amount with the closing word (整).</source>
        <translation>End a whole amount with the closing word (整).</translation>
    </message>
    <message id="capitalAutoEndTip">
        <source>When on, an amount without a fraction ends with the closing word.</source>
        <translation>When on, an amount without a fraction ends with the closing word.</translation>
    </message>
    <message id="caseTarget">
        <source>Change to:</source>
        <translation>Change to:</translation>
    </message>
    <message id="caseTargetTip">
        <source>The letter case the text is changed to.</source>
        <translation>The letter case the text is changed to.</translation>
    </message>
    <message id="caseCapitalised">
        <source>Capitalised Words</source>
        <translation>Capitalised Words</translation>
    </message>
    <message id="caseUpper">
        <source>UPPER CASE</source>
        <translation>UPPER CASE</translation>
    </message>
    <message id="caseLower">
        <source>lower case</source>
        <translation>lower case</translation>
    </message>
    <message id="chooseFolder">
        <source>Choose…</source>
        <translation>Choose…</translation>
    </message>
    <message id="chooseFolderTip">
        <source>Choose the folder the files are saved in.</source>
        <translation>Choose the folder the files are saved in.</translation>
    </message>
    <message id="chooseFolderTitle">
        <source>Choose a Folder</source>
        <translation>Choose a Folder</translation>
    </message>
    <message id="compressQuality">
        <source>Quality:</source>
        <translation>Quality:</translation>
    </message>
    <message id="compressQualityTip">
        <source>Lower quality makes smaller files.</source>
        <translation>Lower quality makes smaller files.</translation>
    </message>
    <message id="compressPNGtoJPG">
        <source>Convert PNG images to JPEG to make them smaller.</source>
        <translation>Convert PNG images to JPEG to make them smaller.</translation>
    </message>
    <message id="compressPNGtoJPGTip">
        <source>PNG images cannot be compressed by quality; as JPEG they can.</source>
        <translation>PNG images cannot be compressed by quality; as JPEG they can.</translation>
    </message>
    <message id="conversionTarget">
        <source>Convert to:</source>
        <translation>Convert to:</translation>
    </message>
    <message id="conversionTargetTip">
        <source>The Chinese script the text is written in afterwards.</source>
        <translation>The Chinese script the text is written in afterwards.</translation>
    </message>
    <message id="conversionMainland">
        <source>Simplified Chinese (Mainland)</source>
        <translation>Simplified Chinese (Mainland)</translation>
    </message>
    <message id="conversionHongKong">
        <source>Traditional Chinese (Hong Kong)</source>
        <translation>Traditional Chinese (Hong Kong)</translation>
    </message>
    <message id="conversionTaiwan">
        <source>Traditional Chinese (Taiwan)</source>
        <translation>Traditional Chinese (Taiwan)</translation>
    </message>
    <message id="countTotal">
        <source>Count all characters.</source>
        <translation>Count all characters.</translation>
    </message>
    <message id="countTotalTip">
        <source>Every character, spaces and punctuation included.</source>
        <translation>Every character, spaces and punctuation included.</translation>
    </message>
    <message id="countLetter">
        <source>Count letters.</source>
        <translation>Count letters.</translation>
    </message>
    <message id="countLetterTip">
        <source>Letters only, without digits, spaces or punctuation.</source>
        <translation>Letters only, without digits, spaces or punctuation.</translation>
    </message>
    <message id="countEnWord">
        <source>Count English words.</source>
        <translation>Count English words.</translation>
    </message>
    <message id="countEnWordTip">
        <source>Words of Latin letters separated by spaces or punctuation.</source>
        <translation>Words of Latin letters separated by spaces or punctuation.</translation>
    </message>
    <message id="customUrlList">
        <source>Addresses:</source>
        <translation>Addresses:</translation>
    </message>
    <message id="customUrlListTip">
        <source>Each address opens with the text in place of {text}. Double-click a row to change it.</source>
        <translation>Each address opens with the text in place of {text}. Double-click a row to change it.</translation>
    </message>
    <message id="customUrlPlaceholder">
        <source>https://example.com/search?q={text}</source>
        <translation>https://example.com/search?q={text}</translation>
    </message>
    <message id="customUrlEmpty">
        <source>An address cannot be empty. Type one, or delete the row.</source>
        <translation>An address cannot be empty. Type one, or delete the row.</translation>
    </message>
    <message id="customUrlAdd">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="customUrlAddTip">
        <source>Add a new address and start typing it.</source>
        <translation>Add a new address and start typing it.</translation>
    </message>
    <message id="customUrlDelete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="customUrlDeleteTip">
        <source>Delete the selected address.</source>
        <translation>Delete the selected address.</translation>
    </message>
    <message id="customUrlInsert">
        <source>Insert {text}</source>
        <translation>Insert {text}</translation>
    </message>
    <message id="customUrlInsertTip">
        <source>Put {text} at the cursor of the selected address; it is replaced by the text.</source>
        <translation>Put {text} at the cursor of the selected address; it is replaced by the text.</translation>
    </message>
    <message id="customUrlLibrary">
        <source>Add from Library</source>
        <translation>Add from Library</translation>
    </message>
    <message id="customUrlLibraryTip">
        <source>Add the search address of a well-known site.</source>
        <translation>Add the search address of a well-known site.</translation>
    </message>
    <message id="customUrlNeedCopy">
        <source>Also copy the text to the clipboard.</source>
        <translation>Also copy the text to the clipboard.</translation>
    </message>
    <message id="customUrlNeedCopyTip">
        <source>When on, the text is also put on the clipboard.</source>
        <translation>When on, the text is also put on the clipboard.</translation>
    </message>
    <message id="fileSavePath">
        <source>Folder:</source>
        <translation>Folder:</translation>
    </message>
    <message id="fileSavePathTip">
        <source>The folder the files go to.</source>
        <translation>The folder the files go to.</translation>
    </message>
    <message id="imageSavePath">
        <source>Save in:</source>
        <translation>Save in:</translation>
    </message>
    <message id="imageSavePathTip">
        <source>The folder the new images are saved in; empty saves them beside the originals.</source>
        <translation>The folder the new images are saved in; empty saves them beside the originals.</translation>
    </message>
    <message id="savePathBesideSource">
        <source>Beside the original files</source>
        <translation>Beside the original files</translation>
    </message>
    <message id="savePathMissing">
        <source>This folder no longer exists. Choose another one.</source>
        <translation>This folder no longer exists. Choose another one.</translation>
    </message>
    <message id="folderDoesNotExist">
        <source>The folder “%1” does not exist. Choose a folder that exists.</source>
        <translation>The folder “%1” does not exist. Choose a folder that exists.</translation>
    </message>
    <message id="folderIsAFile">
        <source>“%1” is a file, not a folder. Choose a folder.</source>
        <translation>“%1” is a file, not a folder. Choose a folder.</translation>
    </message>
    <message id="folderNotWritable">
        <source>Korvane cannot write into “%1”. Choose a folder you may change.</source>
        <translation>Korvane cannot write into “%1”. Choose a folder you may change.</translation>
    </message>
    <message id="imageEndName">
        <source>Name suffix:</source>
        <translation>Name suffix:</translation>
    </message>
    <message id="imageEndNameTip">
        <source>Text added to the end of each new image's name.</source>
        <translation>Text added to the end of each new image's name.</translation>
    </message>
    <message id="imageEndNamePlaceholder">
        <source>for example -small</source>
        <translation>for example -small</translation>
    </message>
    <message id="formatTarget">
        <source>Convert to:</source>
        <translation>Convert to:</translation>
    </message>
    <message id="formatTargetTip">
        <source>The image format the images are converted to.</source>
        <translation>The image format the images are converted to.</translation>
    </message>
    <message id="languageChinese">
        <source>Chinese</source>
        <translation>Chinese</translation>
    </message>
    <message id="languageEnglish">
        <source>English</source>
        <translation>English</translation>
    </message>
    <message id="languageJapanese">
        <source>Japanese</source>
        <translation>Japanese</translation>
    </message>
    <message id="languageKorean">
        <source>Korean</source>
        <translation>Korean</translation>
    </message>
    <message id="languageGerman">
        <source>German</source>
        <translation>German</translation>
    </message>
    <message id="languageFrench">
        <source>French</source>
        <translation>French</translation>
    </message>
    <message id="translateTarget">
        <source>Translate into:</source>
        <translation>Translate into:</translation>
    </message>
    <message id="translateTargetTip">
        <source>The language the text is translated into.</source>
        <translation>The language the text is translated into.</translation>
    </message>
    <message id="mirrorLeftRight">
        <source>Mirror left to right</source>
        <translation>Mirror left to right</translation>
    </message>
    <message id="mirrorTopBottom">
        <source>Mirror top to bottom</source>
        <translation>Mirror top to bottom</translation>
    </message>
    <message id="rotateClockwise">
        <source>Rotate 90° clockwise</source>
        <translation>Rotate 90° clockwise</translation>
    </message>
    <message id="rotateCounterClockwise">
        <source>Rotate 90° counterclockwise</source>
        <translation>Rotate 90° counterclockwise</translation>
    </message>
    <message id="rotateHalf">
        <source>Rotate 180°</source>
        <translation>Rotate 180°</translation>
    </message>
    <message id="rotateTarget">
        <source>Turn:</source>
        <translation>Turn:</translation>
    </message>
    <message id="rotateTargetTip">
        <source>How the images are turned or mirrored.</source>
        <translation>How the images are turned or mirrored.</translation>
    </message>
    <message id="photoNeedLaunch">
        <source>Open the photo library after adding the images.</source>
        <translation>Open the photo library after adding the images.</translation>
    </message>
    <message id="photoNeedLaunchTip">
        <source>When on, the photo library program opens once the images are added.</source>
        <translation>When on, the photo library program opens once the images are added.</translation>
    </message>
    <message id="renameReplace">
        <source>Replace text in the names.</source>
        <translation>Replace text in the names.</translation>
    </message>
    <message id="renameReplaceTip">
        <source>Can be combined with adding text; turns off the new name.</source>
        <translation>Can be combined with adding text; turns off the new name.</translation>
    </message>
    <message id="renameSearch">
        <source>Find:</source>
        <translation>Find:</translation>
    </message>
    <message id="renameSearchTip">
        <source>The text to look for in each file name.</source>
        <translation>The text to look for in each file name.</translation>
    </message>
    <message id="renameReplaceWith">
        <source>Replace with:</source>
        <translation>Replace with:</translation>
    </message>
    <message id="renameReplaceWithTip">
        <source>The text put in place of every match.</source>
        <translation>The text put in place of every match.</translation>
    </message>
    <message id="renameAdd">
        <source>Add text to the names.</source>
        <translation>Add text to the names.</translation>
    </message>
    <message id="renameAddTip">
        <source>Can be combined with replacing text; turns off the new name.</source>
        <translation>Can be combined with replacing text; turns off the new name.</translation>
    </message>
    <message id="renameAddText">
        <source>Text to add:</source>
        <translation>Text to add:</translation>
    </message>
    <message id="renameAddTextTip">
        <source>The text added to each file name.</source>
        <translation>The text added to each file name.</translation>
    </message>
    <message id="renameAddPlace">
        <source>Add it:</source>
        <translation>Add it:</translation>
    </message>
    <message id="renameAddPlaceTip">
        <source>Whether the text goes after or before the name.</source>
        <translation>Whether the text goes after or before the name.</translation>
    </message>
    <message id="renameAfterName">
        <source>After the name</source>
        <translation>After the name</translation>
    </message>
    <message id="renameBeforeName">
        <source>Before the name</source>
        <translation>Before the name</translation>
    </message>
    <message id="renameCustomize">
        <source>Give every file a new name.</source>
        <translation>Give every file a new name.</translation>
    </message>
    <message id="renameCustomizeTip">
        <source>Turns off replacing and adding text.</source>
        <translation>Turns off replacing and adding text.</translation>
    </message>
    <message id="renameCustomizeType">
        <source>Name with:</source>
        <translation>Name with:</translation>
    </message>
    <message id="renameCustomizeTypeTip">
        <source>What tells the renamed files apart.</source>
        <translation>What tells the renamed files apart.</translation>
    </message>
    <message id="renameDateAndSequence">
        <source>Name, date and sequence</source>
        <translation>Name, date and sequence</translation>
    </message>
    <message id="renameNameAndNumber">
        <source>Name and number</source>
        <translation>Name and number</translation>
    </message>
    <message id="renameNameAndLetter">
        <source>Name and letter</source>
        <translation>Name and letter</translation>
    </message>
    <message id="renameNumberOnly">
        <source>Number only</source>
        <translation>Number only</translation>
    </message>
    <message id="renameLetterOnly">
        <source>Letter only</source>
        <translation>Letter only</translation>
    </message>
    <message id="renameCustomizePlace">
        <source>Number or letter:</source>
        <translation>Number or letter:</translation>
    </message>
    <message id="renameCustomizePlaceTip">
        <source>Whether the date, number or letter goes after or before the name.</source>
        <translation>Whether the date, number or letter goes after or before the name.</translation>
    </message>
    <message id="renameCustomizeString">
        <source>New name:</source>
        <translation>New name:</translation>
    </message>
    <message id="renameCustomizeStringTip">
        <source>The name that replaces each file's own name; empty keeps the file's name.</source>
        <translation>The name that replaces each file's own name; empty keeps the file's name.</translation>
    </message>
    <message id="renameStartNumber">
        <source>First number:</source>
        <translation>First number:</translation>
    </message>
    <message id="renameStartNumberTip">
        <source>The number the first file gets; a negative number is stored without its sign.</source>
        <translation>The number the first file gets; a negative number is stored without its sign.</translation>
    </message>
    <message id="renameStartLetter">
        <source>First letter:</source>
        <translation>First letter:</translation>
    </message>
    <message id="renameStartLetterTip">
        <source>One letter from a to z; its case gives the case of all letters. Anything else becomes a.</source>
        <translation>One letter from a to z; its case gives the case of all letters. Anything else becomes a.</translation>
    </message>
    <message id="resizeMode">
        <source>Resize:</source>
        <translation>Resize:</translation>
    </message>
    <message id="resizeToWidth">
        <source>To Width</source>
        <translation>To Width</translation>
    </message>
    <message id="resizeToHeight">
        <source>To Height</source>
        <translation>To Height</translation>
    </message>
    <message id="resizeByPercentage">
        <source>By Percentage</source>
        <translation>By Percentage</translation>
    </message>
    <message id="resizeSize">
        <source>Size:</source>
        <translation>Size:</translation>
    </message>
    <message id="resizeSizeTip">
        <source>Pixels for a width or height; a percentage from 1 to 100, where more than 100 counts as 100.</source>
        <translation>Pixels for a width or height; a percentage from 1 to 100, where more than 100 counts as 100.</translation>
    </message>
    <message id="uploadNaming">
        <source>Name uploads:</source>
        <translation>Name uploads:</translation>
    </message>
    <message id="uploadNamingTip">
        <source>How each uploaded file is named on the server.</source>
        <translation>How each uploaded file is named on the server.</translation>
    </message>
    <message id="uploadNamingKeep">
        <source>Keep the file's name</source>
        <translation>Keep the file's name</translation>
    </message>
    <message id="uploadNamingDate">
        <source>Put the date before the name</source>
        <translation>Put the date before the name</translation>
    </message>
    <message id="uploadNamingRandom">
        <source>Random name</source>
        <translation>Random name</translation>
    </message>
    <message id="cloudAccessKey">
        <source>Access key:</source>
        <translation>Access key:</translation>
    </message>
    <message id="cloudAccessKeyTip">
        <source>The access key of your account at the storage service.</source>
        <translation>The access key of your account at the storage service.</translation>
    </message>
    <message id="cloudSecretId">
        <source>Secret ID:</source>
        <translation>Secret ID:</translation>
    </message>
    <message id="cloudSecretIdTip">
        <source>The secret ID of your account at the storage service.</source>
        <translation>The secret ID of your account at the storage service.</translation>
    </message>
    <message id="cloudSecretKey">
        <source>Secret key:</source>
        <translation>Secret key:</translation>
    </message>
    <message id="cloudSecretKeyTip">
        <source>The secret key that belongs to the access key. It is kept hidden.</source>
        <translation>The secret key that belongs to the access key. It is kept hidden.</translation>
    </message>
    <message id="cloudBucket">
        <source>Bucket:</source>
        <translation>Bucket:</translation>
    </message>
    <message id="cloudBucketTip">
        <source>The bucket the files are uploaded into.</source>
        <translation>The bucket the files are uploaded into.</translation>
    </message>
    <message id="tencentBucketTip">
        <source>The bucket name without its application number.</source>
        <translation>The bucket name without its application number.</translation>
    </message>
    <message id="cloudDomain">
        <source>Address:</source>
        <translation>Address:</translation>
    </message>
    <message id="cloudDomainTip">
        <source>The public address of the bucket, with https:// at the start.</source>
        <translation>The public address of the bucket, with https:// at the start.</translation>
    </message>
    <message id="upOperator">
        <source>Operator:</source>
        <translation>Operator:</translation>
    </message>
    <message id="upOperatorTip">
        <source>The name of the operator allowed to upload.</source>
        <translation>The name of the operator allowed to upload.</translation>
    </message>
    <message id="upPassword">
        <source>Operator password:</source>
        <translation>Operator password:</translation>
    </message>
    <message id="upPasswordTip">
        <source>The operator's password. It is kept hidden.</source>
        <translation>The operator's password. It is kept hidden.</translation>
    </message>
    <message id="weiboAccount">
        <source>Account:</source>
        <translation>Account:</translation>
    </message>
    <message id="weiboAccountTip">
        <source>The account name you sign in with.</source>
        <translation>The account name you sign in with.</translation>
    </message>
    <message id="weiboPassWord">
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message id="weiboPassWordTip">
        <source>The password of that account. It is kept hidden.</source>
        <translation>The password of that account. It is kept hidden.</translation>
    </message>
    <message id="dropWindow">
        <source>Drop Window</source>
        <translation>Drop Window</translation>
    </message>
    <message id="dropWindowInfo">
        <source>Drop here to see the actions, or on an action to run it.</source>
        <translation>Drop here to see the actions, or on an action to run it.</translation>
    </message>
    <message id="dropWindowEmpty">
        <source>No actions yet: add some with Edit Actions…</source>
        <translation>No actions yet: add some with Edit Actions…</translation>
    </message>
    <message id="keepDropWindow">
        <source>Keep a drop window open</source>
        <translation>Keep a drop window open</translation>
    </message>
    <message id="keepDropWindowTip">
        <source>A small window to drop on stays open, also after you log in: for desktops where Korvane cannot see drags near its icon.</source>
        <translation>A small window to drop on stays open, also after you log in: for desktops where Korvane cannot see drags near its icon.</translation>
    </message>
    <message id="wakeHotKeyDescription">
        <source>Show Korvane's actions for the clipboard</source>
        <translation>Show Korvane's actions for the clipboard</translation>
    </message>
    <message id="hotKeyNotBoundWarning">
        <source>Not bound: the desktop or another program keeps this shortcut, so pressing it does nothing. Choose another one.</source>
        <translation>Not bound: the desktop or another program keeps this shortcut, so pressing it does nothing. Choose another one.</translation>
    </message>
    <message id="hotKeyNotBoundTitle">
        <source>Shortcut not bound</source>
        <translation>Shortcut not bound</translation>
    </message>
    <message id="hotKeyNotBoundBody">
        <source>%1 is kept by the desktop or another program, so pressing it does nothing. Choose another shortcut in Korvane's settings.</source>
        <translation>%1 is kept by the desktop or another program, so pressing it does nothing. Choose another shortcut in Korvane's settings.</translation>
    </message>
    <message id="globalShortcutsUnavailableWarning">
        <source>This desktop binds no global shortcuts for Korvane. Bind the command “korvane show” to a key in the desktop's keyboard settings instead.</source>
        <translation>This desktop binds no global shortcuts for Korvane. Bind the command “korvane show” to a key in the desktop's keyboard settings instead.</translation>
    </message>
    <message id="globalShortcutsUnavailableTitle">
        <source>Korvane's shortcuts do not work here</source>
        <translation>Korvane's shortcuts do not work here</translation>
    </message>
    <message id="globalShortcutsUnavailableBody">
        <source>This desktop offers programs no global shortcuts. To open Korvane with a key, bind the command “korvane show” in the desktop's keyboard settings.</source>
        <translation>This desktop offers programs no global shortcuts. To open Korvane with a key, bind the command “korvane show” in the desktop's keyboard settings.</translation>
    </message>
    <message id="badNewName">
        <source>“%1” cannot be a file name: a name must not be empty, “.” or “..”, hold “/” or a zero byte, or be longer than %2 bytes. No file was renamed.</source>
        <translation>“%1” cannot be a file name: a name must not be empty, “.” or “..”, hold “/” or a zero byte, or be longer than %2 bytes. No file was renamed.</translation>
    </message>
    <message id="nameNotUtf8">
        <source>“%1”: the name is not valid UTF-8, so this action cannot open exactly that file; nothing was done with it.</source>
        <translation>“%1”: the name is not valid UTF-8, so this action cannot open exactly that file; nothing was done with it.</translation>
    </message>
    <message id="uploadNotStored">
        <source>“%1” was not stored: the store refused it or could not be reached.</source>
        <translation>“%1” was not stored: the store refused it or could not be reached.</translation>
    </message>
    <message id="textTooLong">
        <source>The text has %1 characters; text actions take at most %2, so nothing was done.</source>
        <translation>The text has %1 characters; text actions take at most %2, so nothing was done.</translation>
    </message>
    <message id="textTooLongToSend">
        <source>The text is %1 bytes long; a mail or message can carry at most %2 bytes of text, so nothing was sent.</source>
        <translation>The text is %1 bytes long; a mail or message can carry at most %2 bytes of text, so nothing was sent.</translation>
    </message>
    <message id="imageDataUndecodable">
        <source>The %1 bytes of image data do not decode as an image Korvane reads (complete, at most %2 pixels); nothing was done.</source>
        <translation>The %1 bytes of image data do not decode as an image Korvane reads (complete, at most %2 pixels); nothing was done.</translation>
    </message>
    <message id="notRegularFile">
        <source>“%1” is not a regular file; FIFOs, sockets, devices and folders are not read.</source>
        <translation>“%1” is not a regular file; FIFOs, sockets, devices and folders are not read.</translation>
    </message>
    <message id="clipboardFocusTimedOut">
        <source>The clipboard was not read: Korvane's list did not get the keyboard focus within %1 s.</source>
        <translation>The clipboard was not read: Korvane's list did not get the keyboard focus within %1 s.</translation>
    </message>
    <message id="storeWriteFailed">
        <source>This change is not saved: %1</source>
        <translation>This change is not saved: %1</translation>
    </message>
    <message id="preferencesWindowTitle">
        <source>%1 — Korvane Preferences</source>
        <translation>%1 — Korvane Preferences</translation>
    </message>
</context>
</TS>
