#pragma once

#include "actions/actionreply.h"

#include <QString>

#include <memory>

class DropListEntity;
class DropPayload;

// The file actions: copy or move the dropped files into a folder, or rename them by a
// pattern. Each works on one task of the global thread pool and reports on the main thread.
class FileActions final
{
public:
    FileActions() = delete;

    static void moveFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void copyFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void renameFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);

    // Error codes of the actions; FileManager has those of single files.
    enum Code {
        CopyFolderFailed = 8010,
        MoveFolderFailed = 8011,
        RenameFailed = 8011,
        EmptySearchString = 8101,
        EmptyReplacement = 8102,
        EmptyAddString = 8103,
    };
};
