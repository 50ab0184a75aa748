#include "Declaracoes.h"

#include "Ambiente.h"

#include "import/motor/Motor.h"
#include "shell/Geral.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

QByteArray comNul(const char* antes, const char* depois)
{
    return QByteArray(antes) + '\0' + depois;
}

QByteArray valor17(const char* digitos)
{
    return QByteArray(digitos).rightJustified(17, '0');
}

void tabelaImportada(int tipo, const QList<QPair<QByteArray, QByteArray>>& linhas)
{
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY2(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx), qPrintable(g.gMsg));
    const QString coluna = tipo <= 2 ? QStringLiteral("CodConta")
        : tipo == 3                  ? QStringLiteral("CodCusto")
        : tipo == 4                  ? QStringLiteral("CodDespesa")
                                     : QStringLiteral("CodhIstPad");
    const bool comTipo = g.gIN == 86 && tipo <= 2;
    const QString sql = QStringLiteral("INSERT INTO %1 (Dataatualiz, %2%3) VALUES ('01012005', ?%4)")
                            .arg(motor::nomeTabelaTipo(tipo), coluna, comTipo ? QStringLiteral(", TipoConta") : QString(),
                                 comTipo ? QStringLiteral(", ?") : QString());
    // One transaction: one sync for the whole table, not one per row.
    db::Erro erro;
    db::Transacao t(*g.gConn, &erro);
    QVERIFY2(t.ativa(), qPrintable(erro.descricao));
    db::Consulta ins(*g.gConn);
    QVERIFY2(ins.preparar(sql, &erro), qPrintable(erro.descricao));
    for (const auto& [codigo, tipoConta] : linhas) {
        QVariantList p{QString::fromLatin1(codigo.leftJustified(28))};
        if (comTipo)
            p << QString::fromLatin1(tipoConta);
        QVERIFY2(ins.executar(p, &erro), qPrintable(erro.descricao));
    }
    QVERIFY2(t.confirmar(&erro), qPrintable(erro.descricao));
    QVERIFY2(motor::criarIndicesAdiados(ctx), qPrintable(g.gMsg));   // as the end of its import
}

void prepararArquivo(Ambiente& amb, int tipo, const QMap<int, QByteArray>& bom, const QList<Campos>& registros,
                     const QString& nome)
{
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    motor::Leiaute l;
    QVERIFY2(motor::lerLeiaute(l, msg), qPrintable(msg));
    int tamanho = 0;
    for (const motor::CampoLeiaute& c : std::as_const(l.todos))
        tamanho = std::max(tamanho, c.posicao + c.tamanho - 1);
    g.gTamanhoARQ = qint16(tamanho);
    QByteArray bytes;
    for (const Campos& mudancas : registros) {
        QMap<int, QByteArray> campos = bom;
        for (const auto& [n, v] : mudancas)
            campos[n] = v;
        QByteArray r(tamanho, ' ');
        for (auto it = campos.cbegin(); it != campos.cend(); ++it) {
            const motor::CampoLeiaute* c = l.campo(it.key());
            QVERIFY(c);
            r.replace(c->posicao - 1, c->tamanho, it.value().leftJustified(c->tamanho, ' ', true));
        }
        bytes += r + "\r\n";
    }
    g.gArquivoOrigem = amb.escreverArquivo(nome, bytes);
}

QList<int> codigosDoRegistro(int registro)
{
    QList<int> r;
    QSqlQuery q(geral().gConn->banco());
    q.prepare(QStringLiteral("SELECT CodigoErro FROM tbDetalheErros WHERE TipoArquivo = ? AND NroRegistro = ? "
                             "ORDER BY rowid"));
    q.addBindValue(geral().gTipoArquivo);
    q.addBindValue(registro);
    q.exec();
    while (q.next())
        r << q.value(0).toInt();
    if (!db::fimDasLinhas(q))
        r << -1;   // a read failure never looks like "no codes"
    return r;
}

void conferirRegistroDoMeio(const QList<int>& esperado)
{
    QCOMPARE(codigosDoRegistro(1), QList<int>{});
    QCOMPARE(codigosDoRegistro(2), esperado);
    QCOMPARE(codigosDoRegistro(3), QList<int>{});
    const Geral& g = geral();
    QCOMPARE(g.gRegLidos, 3.0);
    QCOMPARE(g.gRegErros, esperado.isEmpty() ? 0.0 : 1.0);
    QCOMPARE(g.gRegCorretos, esperado.isEmpty() ? 3.0 : 2.0);
}

bool temTabela(const QString& tabela)
{
    bool existe = false;
    db::Erro e;
    if (!geral().gConn->tabelaExiste(tabela, existe, &e))
        qWarning() << "tabelaExiste:" << e.descricao;
    return existe;
}

void danificarEsquema(const QString& caminho)
{
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(24));
    QByteArray contador = f.read(4);
    QCOMPARE(contador.size(), 4);
    contador[3] = char(contador[3] + 1);
    QVERIFY(f.seek(24) && f.write(contador) == 4);
    QVERIFY(f.seek(100) && f.write(QByteArray(1, '\x7f')) == 1);
}

QVariant situacao(int tipo)
{
    return geral().gConn->escalar(QStringLiteral("SELECT Situacao FROM tbImportados WHERE Tipo = ?"), {tipo});
}
