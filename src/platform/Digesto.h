#pragma once
// The digest that ties a file to the bytes the import wrote: XXH3-128,
// taken block by block in the pass that writes, copies or reads the file
// (no second read), written as 32 lower-case hex digits.
#include <QByteArrayView>
#include <QString>

struct XXH3_state_s;

namespace digesto {

class Fluxo {
public:
    Fluxo();
    ~Fluxo();
    Fluxo(const Fluxo&) = delete;
    Fluxo& operator=(const Fluxo&) = delete;

    void alimentar(const char* dados, qsizetype n);
    void alimentar(QByteArrayView bytes) { alimentar(bytes.data(), bytes.size()); }
    // Of the bytes fed so far.
    QString hex() const;

private:
    XXH3_state_s* m_estado;
};

// Of bytes in memory.
QString de(QByteArrayView bytes);

} // namespace digesto
