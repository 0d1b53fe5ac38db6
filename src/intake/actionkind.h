#pragma once

// Every kind of action, the text kinds first, each in the order of its type code. Tables
// indexed by kind assert their size against KindCount, so a new kind cannot be left out.
enum class ActionKind : int {
    Translate,
    ClearStyle,
    CountCharacters,
    MailText,
    MessageText,
    CustomUrls,
    ChineseScript,
    CapitalAmount,
    LetterCase,
    ShareText,
    Compress,
    Convert,
    Resize,
    RecogniseText,
    RemoveMetadata,
    UploadWeibo,
    AddToPhotos,
    ShareFiles,
    Move,
    Copy,
    MailFiles,
    MessageFiles,
    UploadQiniu,
    UploadOss,
    UploadCos,
    UploadUpyun,
    Rotate,
    Rename,
    Count
};

constexpr int KindCount = int(ActionKind::Count);
