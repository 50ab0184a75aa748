#pragma once
// Windows-1252 text, the encoding of every input and output text file.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace cp1252 {
QString decodificar(QByteArrayView bytes);
// Characters outside the code page become '?'.
QByteArray codificar(const QString& texto);
} // namespace cp1252
