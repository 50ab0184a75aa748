#include "Ambiente.h"

#include "platform/Ajuda.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Endereco.h"
#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "platform/Pastas.h"
#include "reports/Relatorio.h"
#include "shell/Geral.h"
#include "shell/JanelasShell.h"
#include "shell/Servicos.h"
#include "import/JanelasImportacao.h"
#include "import/frmOrigemArquivo.h"
#include "validation/JanelasValidacao.h"
#include "delivery/JanelasEntrega.h"
#include "delivery/frmAcompanhamento.h"
#include "linking/JanelasVinculacao.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// The hooks tests set: a check that fails returns from the test before the
// test resets them, so the fixture does (they may point into its stack).
void restaurarGanchos()
{
    relatorio::definirObservadorImpressao(nullptr);
    relatorio::definirGanchoVisualizacao(nullptr);
    duravel::observar({});
    definirMedidorEspaco(nullptr);
    Formularios::definirGanchoModal(nullptr);
    frmAcompanhamento::arquivoPdf.clear();
    frmOrigemArquivo::NomeArquivoOrigem.clear();
}

} // namespace

Ambiente::Ambiente()
{
    restaurarGanchos();
    QDir raiz(m_raiz.path());
    raiz.mkpath(QStringLiteral("programa/help"));
    raiz.mkpath(QStringLiteral("dados"));
    raiz.mkpath(QStringLiteral("documentos"));
    const QString bin = QStringLiteral(TOBRI_BIN_DIR);
    QFile::copy(caminhoEm(bin, QStringLiteral("TOBRI.MDB")), caminhoEm(programa(), QStringLiteral("TOBRI.MDB")));
    QDir ajuda(caminhoEm(bin, QStringLiteral("help")));
    for (const QString& f : ajuda.entryList(QDir::Files))
        QFile::copy(ajuda.filePath(f), caminhoEm(caminhoEm(programa(), QStringLiteral("help")), f));
    definirPastas(Pastas{programa(), dados()});
    definirPastaDocumentos(documentos());
    reiniciaGeral();
    Formularios::reiniciar();
    ajuda::definirVisualizador([this](int c) { ajudas << c; });
    definirAbridorEndereco([this](const QString& e) { enderecos << e; });
    impressoras::restaurar();
    registrarJanelas();
    QString msg;
    criaRegistroSeAusente(msg);
}

Ambiente::~Ambiente()
{
    restaurarGanchos();
    Formularios::descarregarTodos();
    Formularios::reiniciar();
    reiniciaGeral();
    ajuda::definirVisualizador(nullptr);
    definirAbridorEndereco(nullptr);
    impressoras::restaurar();
    definirPastaDocumentos(QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString Ambiente::programa() const
{
    return caminhoEm(m_raiz.path(), QStringLiteral("programa"));
}

QString Ambiente::dados() const
{
    return caminhoEm(m_raiz.path(), QStringLiteral("dados"));
}

QString Ambiente::caminhoDados(const QString& nome) const
{
    return caminhoEm(dados(), nome);
}

QString Ambiente::documentos() const
{
    return caminhoEm(m_raiz.path(), QStringLiteral("documentos"));
}

QString Ambiente::caminhoDocumentos(const QString& nome) const
{
    return caminhoEm(documentos(), nome);
}

QString Ambiente::escreverArquivo(const QString& nome, const QByteArray& bytes) const
{
    const QString c = caminhoDados(nome);
    QFile f(c);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return c;
}

void registrarJanelas()
{
    registrarJanelasShell();
    registrarJanelasImportacao();
    registrarJanelasValidacao();
    registrarJanelasEntrega();
    registrarJanelasVinculacao();
}

void definirDeclaracao(qint16 in, const QString& cnpj, const QDate& inicio, const QDate& fim)
{
    Geral& g = geral();
    g.gIN = in;
    g.gCNPJ = cnpj;
    g.gCNPJNumeros = soDigitos(cnpj);
    g.gPeriodoInicial = inicio;
    g.gPeriodoFinal = fim;
}

bool criarDeclaracao(qint16 in, const QString& cnpj, const QDate& inicio, const QDate& fim, const QString& nome)
{
    Geral& g = geral();
    definirDeclaracao(in, cnpj, inicio, fim);
    const QVariantList chave{in, cnpj, dataIso(inicio), dataIso(fim), nome};
    const QString ins = QStringLiteral(
        "INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Nome) VALUES (?,?,?,?,?)");
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura) || !g.gConn->executar(ins, chave))
        return false;
    g.gConn->fechar();
    if (!AbreBanco(g.gMsg, true, true, g.gErroAbertura))
        return false;
    return g.gConn->executar(ins, chave);
}
