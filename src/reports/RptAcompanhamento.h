#pragma once
// The tracking report: for every delivered file a cover sheet to be completed
// and signed by hand (identification, delivery medium, counts, place and
// date, signatures, footnotes), followed by its lines (layout description and
// record dumps) in a fixed-pitch font.
#include "Relatorio.h"

#include <QList>
#include <QString>
#include <QStringList>

struct FolhaAcompanhamento {
    qint16 tipo = 0;
    QString cnpj;
    QString nome;
    QString descricao;
    QString nomeArquivo;
    qint32 qtdPaginas = 0;
    qint32 qtdVolumes = 0;
    qint32 qtdRegistros = 0;
    qint64 tamanho = 0;
    QStringList linhas;
};

class RptAcompanhamento {
public:
    static inline const QString Titulo = QStringLiteral("Relatório de Acompanhamento");
    // Characters of a dump line printed on one report line; longer lines go on.
    static constexpr int LarguraLinha = 80;

    // "Versão: " + major + "." + minor and revision joined (1.0.8 gives "Versão: 1.08").
    static QString textoVersao(int maior, int menor, int revisao);
    // The report laid out from the files' sheets (in the order given).
    static relatorio::Relatorio montar(const QList<FolhaAcompanhamento>& folhas, const QString& versao);
};
