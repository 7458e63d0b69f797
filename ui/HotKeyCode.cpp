#include "ui/HotKeyCode.h"

#include "platform/desktop/GlobalHotKeysX11.h"

namespace {

unsigned DecodeModifiers(unsigned v)
{
    unsigned m = 0;
    if ((v & 0x11000000u) == 0x11000000u)
        m = desktop::MOD_CONTROL;
    if (v & 0x00100000u)
        m |= desktop::MOD_SHIFT;
    if ((v & 0x00001200u) == 0x00001200u)
        m |= desktop::MOD_ALT;
    return m ? m : desktop::MOD_CONTROL | desktop::MOD_SHIFT;
}

} // namespace

std::optional<HotKeyCombo> DecodeHotKey(int code, bool isFullScreenKey)
{
    const auto v = static_cast<unsigned>(code);
    const int vk = static_cast<int>(v & 0xFFu);
    if (vk == 0x1B)
        return isFullScreenKey ? std::optional<HotKeyCombo>(HotKeyCombo{0, vk}) : std::nullopt;
    if (vk >= 0x70 && vk <= 0x7C)
        return HotKeyCombo{0, vk};
    if (vk >= 0x30 && vk <= 0x5A)
        return HotKeyCombo{DecodeModifiers(v), vk};
    return std::nullopt;
}
