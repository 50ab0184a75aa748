#include "Cp1252.h"

#include <array>

namespace cp1252 {

namespace {
// 0x80..0x9F; 0 marks the five undefined positions (kept as the C1 control).
constexpr std::array<char16_t, 32> alto = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString decodificar(QByteArrayView bytes)
{
    QString s;
    s.resize(bytes.size());
    QChar* out = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b <= 0x9F && alto[b - 0x80] != 0)
            out[i] = QChar(alto[b - 0x80]);
        else
            out[i] = QChar(char16_t(b));
    }
    return s;
}

QByteArray codificar(const QString& texto)
{
    QByteArray r;
    r.resize(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        char b = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            b = static_cast<char>(c);
        } else if (c >= 0x80 && c <= 0x9F) {
            if (alto[c - 0x80] == 0)
                b = static_cast<char>(c);
        } else {
            for (int k = 0; k < 32; ++k) {
                if (alto[k] == c) {
                    b = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        r[i] = b;
    }
    return r;
}

} // namespace cp1252
