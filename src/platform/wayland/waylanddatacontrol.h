#pragma once

#include "intake/transferdata.h"

#include <optional>

// The clipboard read without keyboard focus on Wayland, through the data-control protocol
// (ext-data-control-v1 or wlr-data-control-unstable-v1) that wlroots compositors and newer
// KWin offer to clipboard managers. GNOME offers neither: there the clipboard is readable
// only by a focused window of ours.
class WaylandDataControl final
{
public:
    // A read through it gives up after this long, per type read.
    static constexpr int ReadTimeoutMs = 2000;
    // Clipboard data past this size is not taken (an image copied whole, say).
    static constexpr qint64 MaximumBytes = 64 * 1024 * 1024;

    // Whether the compositor of this session offers data control and wl-paste is there to
    // use it. Asked once per process: the compositor does not change under a client.
    static bool isAvailable();

    // The clipboard's files, image data, text and RTF, as the focused path would read them;
    // nothing when the read failed (an empty clipboard is an empty pasteboard).
    static std::optional<TransferData> read();
};
