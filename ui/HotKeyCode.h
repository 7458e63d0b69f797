#pragma once

#include <optional>

// A hot key as the settings file gives it: the Windows virtual-key code in the low byte, and a
// modifier's own virtual-key code in its byte (Ctrl 0x11 in byte 3, Shift 0x10 in byte 2, Alt
// 0x12 in byte 1).
struct HotKeyCombo
{
    unsigned modifiers; // desktop::MOD_ALT, MOD_CONTROL, MOD_SHIFT
    int virtualKey;

    bool operator==(const HotKeyCombo&) const = default;
};

// Which keys may be hot keys:
//
// | virtual key             | full-screen key | boss key | modifiers                            |
// |-------------------------|-----------------|----------|--------------------------------------|
// | 0x1B Escape             | yes             | no       | none                                 |
// | 0x70-0x7C F1-F13        | yes             | yes      | none; modifier bytes are ignored     |
// | 0x30-0x5A digits,letters| yes             | yes      | decoded; none decoded: Ctrl+Shift    |
// | anything else           | no              | no       |                                      |
std::optional<HotKeyCombo> DecodeHotKey(int code, bool isFullScreenKey);
