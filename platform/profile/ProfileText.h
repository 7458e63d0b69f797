#pragma once

#include <QByteArray>
#include <QString>

namespace profile {

// Turns the raw bytes of a profile file into text. Returns a null QString when the bytes are not
// text (they hold NUL bytes outside a UTF-16 file), so that the caller reads the file as empty.
QString DecodeProfileBytes(const QByteArray& bytes);

} // namespace profile
