#include "platform/x11/xkbkeycodes.h"

namespace {

struct KeyPlace {
    Qt::Key key;
    bool keypad;
    quint16 evdev;
};

// The keys at the places of the Apple-only ones: the ISO key next to left shift is KEY_102ND,
// Num Lock sits where keypad Clear is, Insert where Help is, and Print, Scroll Lock and Pause
// where F13 to F15 are.
constexpr KeyPlace kPlaces[] = {
    {Qt::Key_A, false, 30},
    {Qt::Key_S, false, 31},
    {Qt::Key_D, false, 32},
    {Qt::Key_F, false, 33},
    {Qt::Key_H, false, 35},
    {Qt::Key_G, false, 34},
    {Qt::Key_Z, false, 44},
    {Qt::Key_X, false, 45},
    {Qt::Key_C, false, 46},
    {Qt::Key_V, false, 47},
    {Qt::Key_section, false, 86},
    {Qt::Key_B, false, 48},
    {Qt::Key_Q, false, 16},
    {Qt::Key_W, false, 17},
    {Qt::Key_E, false, 18},
    {Qt::Key_R, false, 19},
    {Qt::Key_Y, false, 21},
    {Qt::Key_T, false, 20},
    {Qt::Key_1, false, 2},
    {Qt::Key_2, false, 3},
    {Qt::Key_3, false, 4},
    {Qt::Key_4, false, 5},
    {Qt::Key_6, false, 7},
    {Qt::Key_5, false, 6},
    {Qt::Key_Equal, false, 13},
    {Qt::Key_9, false, 10},
    {Qt::Key_7, false, 8},
    {Qt::Key_Minus, false, 12},
    {Qt::Key_8, false, 9},
    {Qt::Key_0, false, 11},
    {Qt::Key_BracketRight, false, 27},
    {Qt::Key_O, false, 24},
    {Qt::Key_U, false, 22},
    {Qt::Key_BracketLeft, false, 26},
    {Qt::Key_I, false, 23},
    {Qt::Key_P, false, 25},
    {Qt::Key_Return, false, 28},
    {Qt::Key_L, false, 38},
    {Qt::Key_J, false, 36},
    {Qt::Key_Apostrophe, false, 40},
    {Qt::Key_K, false, 37},
    {Qt::Key_Semicolon, false, 39},
    {Qt::Key_Backslash, false, 43},
    {Qt::Key_Comma, false, 51},
    {Qt::Key_Slash, false, 53},
    {Qt::Key_N, false, 49},
    {Qt::Key_M, false, 50},
    {Qt::Key_Period, false, 52},
    {Qt::Key_Tab, false, 15},
    {Qt::Key_Space, false, 57},
    {Qt::Key_QuoteLeft, false, 41},
    {Qt::Key_Backspace, false, 14},
    {Qt::Key_Escape, false, 1},
    {Qt::Key_F17, false, 187},
    {Qt::Key_Period, true, 83},
    {Qt::Key_Asterisk, true, 55},
    {Qt::Key_Plus, true, 78},
    {Qt::Key_NumLock, false, 69},
    {Qt::Key_VolumeUp, false, 115},
    {Qt::Key_VolumeDown, false, 114},
    {Qt::Key_VolumeMute, false, 113},
    {Qt::Key_Slash, true, 98},
    {Qt::Key_Enter, true, 96},
    {Qt::Key_Minus, true, 74},
    {Qt::Key_F18, false, 188},
    {Qt::Key_F19, false, 189},
    {Qt::Key_Equal, true, 117},
    {Qt::Key_0, true, 82},
    {Qt::Key_1, true, 79},
    {Qt::Key_2, true, 80},
    {Qt::Key_3, true, 81},
    {Qt::Key_4, true, 75},
    {Qt::Key_5, true, 76},
    {Qt::Key_6, true, 77},
    {Qt::Key_7, true, 71},
    {Qt::Key_F20, false, 190},
    {Qt::Key_8, true, 72},
    {Qt::Key_9, true, 73},
    {Qt::Key_yen, false, 124},
    {Qt::Key_Underscore, false, 89},
    {Qt::Key_Comma, true, 95},
    {Qt::Key_F5, false, 63},
    {Qt::Key_F6, false, 64},
    {Qt::Key_F7, false, 65},
    {Qt::Key_F3, false, 61},
    {Qt::Key_F8, false, 66},
    {Qt::Key_F9, false, 67},
    {Qt::Key_Muhenkan, false, 94},
    {Qt::Key_F11, false, 87},
    {Qt::Key_Henkan, false, 92},
    {Qt::Key_Print, false, 99},
    {Qt::Key_F16, false, 186},
    {Qt::Key_ScrollLock, false, 70},
    {Qt::Key_F10, false, 68},
    {Qt::Key_Menu, false, 127},
    {Qt::Key_F12, false, 88},
    {Qt::Key_Pause, false, 119},
    {Qt::Key_Insert, false, 110},
    {Qt::Key_Home, false, 102},
    {Qt::Key_PageUp, false, 104},
    {Qt::Key_Delete, false, 111},
    {Qt::Key_F4, false, 62},
    {Qt::Key_End, false, 107},
    {Qt::Key_F2, false, 60},
    {Qt::Key_PageDown, false, 109},
    {Qt::Key_F1, false, 59},
    {Qt::Key_Left, false, 105},
    {Qt::Key_Right, false, 106},
    {Qt::Key_Down, false, 108},
    {Qt::Key_Up, false, 103},
};

constexpr quint32 kEvdevOffset = 8;

} // namespace

quint32 XkbKeyCodes::xkbKeyCode(QKeyCombination key)
{
    const bool keypad = key.keyboardModifiers().testFlag(Qt::KeypadModifier);
    for (const KeyPlace &place : kPlaces) {
        if (place.key == key.key() && place.keypad == keypad)
            return place.evdev + kEvdevOffset;
    }
    return 0;
}

std::optional<QKeyCombination> XkbKeyCodes::key(quint32 xkbKeyCode)
{
    for (const KeyPlace &place : kPlaces) {
        if (place.evdev + kEvdevOffset == xkbKeyCode)
            return QKeyCombination(place.keypad ? Qt::KeypadModifier : Qt::NoModifier, place.key);
    }
    return std::nullopt;
}
