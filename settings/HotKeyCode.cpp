#include "settings/HotKeyCode.h"

namespace {

Qt::KeyboardModifiers DecodeModifiers(unsigned v)
{
    Qt::KeyboardModifiers m;
    if ((v & 0x11000000u) == 0x11000000u)
        m |= Qt::ControlModifier;
    if (v & 0x00100000u)
        m |= Qt::ShiftModifier;
    if ((v & 0x00001200u) == 0x00001200u)
        m |= Qt::AltModifier;
    return m ? m : Qt::ControlModifier | Qt::ShiftModifier;
}

// The key of a virtual-key code, or none. 0x3A to 0x40 are no keys on Windows either.
std::optional<Qt::Key> KeyOf(int vk)
{
    if (vk == 0x1B)
        return Qt::Key_Escape;
    if (vk >= 0x70 && vk <= 0x7C)
        return static_cast<Qt::Key>(Qt::Key_F1 + (vk - 0x70));
    if (vk >= 0x30 && vk <= 0x39)
        return static_cast<Qt::Key>(Qt::Key_0 + (vk - 0x30));
    if (vk >= 0x41 && vk <= 0x5A)
        return static_cast<Qt::Key>(Qt::Key_A + (vk - 0x41));
    return std::nullopt;
}

} // namespace

std::optional<QKeyCombination> DecodeHotKey(int code, bool isFullScreenKey)
{
    const auto v = static_cast<unsigned>(code);
    const std::optional<Qt::Key> key = KeyOf(static_cast<int>(v & 0xFFu));
    if (!key)
        return std::nullopt;
    if (*key == Qt::Key_Escape)
        return isFullScreenKey ? std::optional(QKeyCombination(*key)) : std::nullopt;
    if (*key >= Qt::Key_F1 && *key <= Qt::Key_F13)
        return QKeyCombination(*key);
    return QKeyCombination(DecodeModifiers(v), *key);
}
