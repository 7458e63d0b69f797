#include "platform/profile/ProfileText.h"

#include <QStringDecoder>

#include <iconv.h>

namespace profile {
namespace {

QString DecodeGbk(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-16LE", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray out(bytes.size() * 4 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* dst = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1))
            break;
        // An invalid or cut-off sequence: skip one byte and go on, as the Windows reader would
        // show a replacement instead of failing the whole file.
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    const auto units = (out.size() - static_cast<qsizetype>(outLeft)) / 2;
    return QString(reinterpret_cast<const QChar*>(out.constData()), units);
}

} // namespace

QString DecodeProfileBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        auto decode = QStringDecoder(QStringDecoder::Utf16LE);
        return decode(bytes.mid(2));
    }
    if (bytes.contains('\0'))
        return {};
    QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return DecodeGbk(body);
}

} // namespace profile
