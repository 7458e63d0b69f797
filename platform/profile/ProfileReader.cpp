#include "platform/profile/ProfileReader.h"

#include "platform/profile/ProfileText.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringTokenizer>
#include <QStringView>

#include <cstdio>
#include <optional>

namespace profile {
namespace {

void SayTooLargeOnce(const QString& filePath)
{
    static QSet<QString> said;
    if (said.contains(filePath))
        return;
    said.insert(filePath);
    std::fprintf(stderr, "vantor: %s is larger than %lld bytes and is read as empty\n", qPrintable(filePath),
                 static_cast<long long>(kMaxFileSize));
}

QString ReadFileText(const QString& filePath)
{
    QFileInfo info(filePath);
    if (!info.isFile())
        return {};
    if (info.size() > kMaxFileSize) {
        SayTooLargeOnce(filePath);
        return {};
    }
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // read() is bounded too: the file may grow between the size check and the read.
    return DecodeProfileBytes(file.read(kMaxFileSize + 1).left(kMaxFileSize));
}

QStringView Unquote(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

std::optional<QString> FindValue(const QString& text, const QString& section, const QString& key)
{
    const QString wantSection = section.trimmed();
    const QString wantKey = key.trimmed();
    bool inSection = false;
    bool sectionSeen = false;
    // Lines are walked in place: a file of nothing but line breaks costs no list of a million views.
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            if (inSection)
                return std::nullopt; // only the first section of the name counts
            const auto close = line.indexOf(u']');
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = !sectionSeen && name.compare(wantSection, Qt::CaseInsensitive) == 0;
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const auto eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        if (line.left(eq).trimmed().compare(wantKey, Qt::CaseInsensitive) != 0)
            continue;
        return Unquote(line.mid(eq + 1).trimmed()).left(kMaxValueLength).toString();
    }
    return std::nullopt;
}

} // namespace

QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          const QString& filePath)
{
    const QString text = ReadFileText(filePath);
    if (text.isEmpty())
        return defaultValue.left(kMaxValueLength);
    return FindValue(text, section, key).value_or(defaultValue.left(kMaxValueLength));
}

int ParseProfileInt(const QString& text)
{
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    unsigned base = 10;
    if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        base = 16;
        s = s.mid(2);
    }
    quint32 value = 0;
    for (QChar c : s) {
        unsigned digit;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c.unicode() - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        else
            break;
        value = value * base + digit; // wraps like the 32-bit Windows result
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

int ReadProfileInt(const QString& section, const QString& key, int defaultValue, const QString& filePath)
{
    const QString text = ReadFileText(filePath);
    if (text.isEmpty())
        return defaultValue;
    const auto value = FindValue(text, section, key);
    if (!value || value->isEmpty())
        return defaultValue;
    return ParseProfileInt(*value);
}

} // namespace profile
