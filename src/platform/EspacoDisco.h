#pragma once
#include <QString>
#include <cstdint>

// Free bytes available to the user on the volume of a folder; 0 when unknown.
int64_t espacoLivre(const QString& pasta);
