#pragma once
// The import error report: the records with errors of the file type being
// previewed or printed (the rows of tbDetalheErros flagged ativo = 1), with
// the error texts and the file type's name, ordered by record number and
// grouped by CNPJ, period and file type.
#include "Relatorio.h"

#include "platform/Banco.h"

#include <QDate>
#include <QList>
#include <QString>

struct LinhaErroImportacao {
    qint32 quebra = 0;
    QString cnpj;
    QDate periodoInicial;
    QDate periodoFinal;
    qint64 nroRegistro = 0;
    QString descricaoErro;
    QString descricaoTipo;
};

class RptCNPJPeriodo {
public:
    static inline const QString Titulo = QStringLiteral("Resultado da Importação");

    // Flags the detail rows of one file type (ativo 1) and clears the others
    // (ativo 0), each update in its own transaction.
    static bool marcarTipoArquivo(db::Conexao& c, qint16 tipoArquivo, db::Erro& erro);
    // The flagged rows, in record order.
    static bool ler(db::Conexao& c, QList<LinhaErroImportacao>& linhas, db::Erro& erro);
    // The report laid out from the rows.
    static relatorio::Relatorio montar(const QList<LinhaErroImportacao>& linhas);
};
