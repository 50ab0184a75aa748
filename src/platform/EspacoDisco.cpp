#include "EspacoDisco.h"

#include <QStorageInfo>

int64_t espacoLivre(const QString& pasta)
{
    QStorageInfo s(pasta);
    if (!s.isValid() || !s.isReady())
        return 0;
    const qint64 b = s.bytesAvailable();
    return b > 0 ? b : 0;
}
