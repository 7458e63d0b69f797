#pragma once

#include <QString>

namespace profile {

// The longest text value that a read returns; longer values are cut, as the Windows reader cuts
// them to its 4096-character buffer less the terminator.
inline constexpr qsizetype kMaxValueLength = 4095;

// Files larger than this are not read at all and give the defaults, with one note on stderr: a
// settings file is a few hundred bytes, and it is read again at every navigation, so a runaway
// one must not stall the pages.
inline constexpr qint64 kMaxFileSize = 1024 * 1024;

// Reads one value of an INI file with the rules of the Windows profile functions:
//
// | rule                  | behaviour                                                        |
// |-----------------------|------------------------------------------------------------------|
// | names                 | section and key names match without regard to letter case        |
// | white space           | trimmed around names and values                                  |
// | duplicates            | the first section of a name is searched; its first key wins      |
// | quotes                | a value wrapped in matching '"' or '\'' quotes loses them        |
// | other lines           | lines that are not [section] or key=value are ignored, so are    |
// |                       | lines that start with ';' or '#'                                 |
// | length                | a value is cut to its first 4095 characters                      |
// | encodings             | UTF-16LE with BOM, UTF-8 with or without BOM, else GBK (GB18030) |
// | bad files             | missing, unreadable, a directory, binary (NUL bytes without a    |
// |                       | UTF-16 BOM) or larger than 16 MiB: read as empty                 |
//
// Returns the default when the file, the section or the key is missing.
QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          const QString& filePath);

// Integer rules: white space, optional sign, then decimal or "0x" hex digits up to the first
// character that is not one; the digits wrap as an unsigned 32-bit number, which is returned as
// the same bits in an int. A key with an empty value or no key gives the default; a value with no
// digits ("abc") gives 0.
int ReadProfileInt(const QString& section, const QString& key, int defaultValue, const QString& filePath);

// The integer parse on its own, for values already read.
int ParseProfileInt(const QString& text);

} // namespace profile
