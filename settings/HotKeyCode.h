#pragma once

#include <QKeyCombination>

#include <optional>

// A hot key as the settings file gives it: the Windows virtual-key code in the low byte, and a
// modifier's own virtual-key code in its byte (Ctrl 0x11 in byte 3, Shift 0x10 in byte 2, Alt
// 0x12 in byte 1). This is the one place that knows those codes.
//
// | virtual key               | full-screen key | boss key | modifiers                            |
// |---------------------------|-----------------|----------|--------------------------------------|
// | 0x1B Escape               | yes             | no       | none                                 |
// | 0x70-0x7C F1-F13          | yes             | yes      | none; modifier bytes are ignored     |
// | 0x30-0x39 digits          | yes             | yes      | decoded; none decoded: Ctrl+Shift    |
// | 0x41-0x5A letters         | yes             | yes      | decoded; none decoded: Ctrl+Shift    |
// | anything else (0x3A-0x40) | no              | no       |                                      |
std::optional<QKeyCombination> DecodeHotKey(int code, bool isFullScreenKey);
