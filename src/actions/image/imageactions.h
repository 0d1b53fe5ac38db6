#pragma once

#include "actions/actionreply.h"

#include <memory>

class DropListEntity;
class DropPayload;

// The image actions: compress, convert, resize, rotate or mirror, and remove metadata. Image
// data on the pasteboard is transformed once and pasted back; otherwise every image file is
// processed by a job of its own on the global thread pool (rotation: one job for all, in
// order) and the batch reports once, from the job that completes it. An output that takes its
// source's name replaces the source only after the original went to the user's Trash. A drop
// without image data or image files has nothing to report.
class ImageActions final
{
public:
    ImageActions() = delete;

    static void compress(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void convertFormat(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void resize(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void rotate(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);
    static void stripMetadata(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);

    enum Code {
        PNGNotCompressed = 1000,
        CompressedImageIsLarger = 1001,
        NotCompressed = 1002,
        NotRotated = 1003,
        NotConverted = 4004,
        NotResized = 5004,
        MetadataNotRemoved = 6004,
        ImageDataUndecodable = 6005,
    };
};
