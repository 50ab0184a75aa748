#pragma once
// The seven regional values the start-up gate tests, in the notation it
// expects (grouping "3;0", long date with quoted literals).
#include <QLocale>
#include <QString>

struct ValoresLocale {
    QString separadorData;      // "/"
    QString dataCurta;          // "dd/MM/yyyy"
    QString digitosDecimais;    // "2"
    QString separadorDecimal;   // ","
    QString separadorMilhar;    // "."
    QString agrupamento;        // "3;0"
    QString dataLonga;          // "d' de 'MMMM' de 'yyyy"
};

ValoresLocale lerValoresLocale(const QLocale& locale = QLocale::system());
// Converts a Qt date pattern to the notation whose literal runs are quoted
// as a whole, dropping a leading weekday.
QString dataLongaSemDiaSemana(const QString& formatoQt);
