#pragma once

#include <QtGlobal>

// Where each stored virtual key code sits on a PC keyboard, as an XKB keycode (the evdev
// code plus 8, what X11 and Wayland report). Keys are matched by place, not by label, so a
// hotkey keeps its position under every layout.
class XkbKeyCodes final
{
public:
    // 0 when the key has no place on a PC keyboard (the function key, unused codes).
    static quint32 xkbKeyCode(quint32 virtualKeyCode);
    // -1 when no virtual key sits at that place.
    static qint32 virtualKeyCode(quint32 xkbKeyCode);
};
