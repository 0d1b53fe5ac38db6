#include "platform/xkbkeycodes.h"

#include <utility>

namespace {

// Virtual key code, evdev code. The Apple-only keys take the PC key at their place: the key
// left of 1 (50) is the grave key, the ISO key next to left shift (10) is KEY_102ND,
// keypad Clear is Num Lock, Help is Insert and F13 to F15 are Print, Scroll Lock and Pause.
constexpr std::pair<quint8, quint16> kTable[] = {
    {0, 30},
    {1, 31},
    {2, 32},
    {3, 33},
    {4, 35},
    {5, 34},
    {6, 44},
    {7, 45},
    {8, 46},
    {9, 47},
    {10, 86},
    {11, 48},
    {12, 16},
    {13, 17},
    {14, 18},
    {15, 19},
    {16, 21},
    {17, 20},
    {18, 2},
    {19, 3},
    {20, 4},
    {21, 5},
    {22, 7},
    {23, 6},
    {24, 13},
    {25, 10},
    {26, 8},
    {27, 12},
    {28, 9},
    {29, 11},
    {30, 27},
    {31, 24},
    {32, 22},
    {33, 26},
    {34, 23},
    {35, 25},
    {36, 28},
    {37, 38},
    {38, 36},
    {39, 40},
    {40, 37},
    {41, 39},
    {42, 43},
    {43, 51},
    {44, 53},
    {45, 49},
    {46, 50},
    {47, 52},
    {48, 15},
    {49, 57},
    {50, 41},
    {51, 14},
    {53, 1},
    {54, 126},
    {55, 125},
    {56, 42},
    {57, 58},
    {58, 56},
    {59, 29},
    {60, 54},
    {61, 100},
    {62, 97},
    {64, 187},
    {65, 83},
    {67, 55},
    {69, 78},
    {71, 69},
    {72, 115},
    {73, 114},
    {74, 113},
    {75, 98},
    {76, 96},
    {78, 74},
    {79, 188},
    {80, 189},
    {81, 117},
    {82, 82},
    {83, 79},
    {84, 80},
    {85, 81},
    {86, 75},
    {87, 76},
    {88, 77},
    {89, 71},
    {90, 190},
    {91, 72},
    {92, 73},
    {93, 124},
    {94, 89},
    {95, 95},
    {96, 63},
    {97, 64},
    {98, 65},
    {99, 61},
    {100, 66},
    {101, 67},
    {102, 94},
    {103, 87},
    {104, 92},
    {105, 99},
    {106, 186},
    {107, 70},
    {109, 68},
    {110, 127},
    {111, 88},
    {113, 119},
    {114, 110},
    {115, 102},
    {116, 104},
    {117, 111},
    {118, 62},
    {119, 107},
    {120, 60},
    {121, 109},
    {122, 59},
    {123, 105},
    {124, 106},
    {125, 108},
    {126, 103},
    {52, 96},
};

constexpr quint32 kEvdevOffset = 8;

} // namespace

quint32 XkbKeyCodes::xkbKeyCode(quint32 virtualKeyCode)
{
    for (const auto &[code, evdev] : kTable) {
        if (code == virtualKeyCode)
            return evdev + kEvdevOffset;
    }
    return 0;
}

qint32 XkbKeyCodes::virtualKeyCode(quint32 xkbKeyCode)
{
    // Keypad Enter has two virtual codes; 52 (old laptops' Enter) comes last so 76 wins here.
    for (const auto &[code, evdev] : kTable) {
        if (evdev + kEvdevOffset == xkbKeyCode)
            return code;
    }
    return -1;
}
