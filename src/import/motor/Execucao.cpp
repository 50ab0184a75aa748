#include "Execucao.h"

#include "Arquivos.h"
#include "Critica.h"
#include "Tabelas.h"

#include "platform/Dialogos.h"

#include <QFile>

namespace motor {

namespace {

bool compactar(Painel& painel)
{
    painel.status(TextoCompactando);
    painel.rende();
    const bool ok = Fun_CompactaBanco();
    painel.status(QString());
    painel.rende();
    if (ok)
        return true;
    dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
    // A compaction that failed leaves the database as it was: the run goes
    // on. Only a database that could not be reopened stops it.
    const Geral& g = geral();
    return g.gConn && g.gConn->aberta();
}

// Removes the copy written while reading unless a clean end renamed it.
class CopiaTemporaria {
public:
    CopiaTemporaria() : m_caminho(caminhoCopiaTemporaria()) { QFile::remove(m_caminho); }
    ~CopiaTemporaria() { QFile::remove(m_caminho); }
    const QString& caminho() const { return m_caminho; }

private:
    QString m_caminho;
};

} // namespace

FimImportacao executarImportacao(Painel& painel, bool* cancelado)
{
    using dlg::Icone;
    Geral& g = geral();
    if (cancelado)
        *cancelado = false;

    if (!fun_Delete_IMPORTADO()) {
        dlg::MsgBox(g.gMsg, Icone::Informacao);
        return FimImportacao::Parada;
    }
    // The error rows of the type describe the file being imported now.
    if (!fun_Deleta_Detalhe() || !fun_Deleta_errosIMP()) {
        dlg::MsgBox(g.gMsg, Icone::Critico);
        return FimImportacao::Parada;
    }
    if (!compactar(painel))
        return FimImportacao::Parada;
    g.gMsg.clear();

    CopiaTemporaria copia;
    bool ok = false;
    Contexto::Fim fim = Contexto::Fim::Nenhum;
    QString erroCopia;
    DigestosAceitos digestos;
    {
        Contexto ctx(painel);
        ctx.copiaTemporaria = copia.caminho();
        ok = func_validacao(ctx);
        fim = ctx.fim;
        erroCopia = ctx.erroCopia;
        digestos.copia = ctx.digestoCopia;
    }
    if (!ok) {
        switch (fim) {
        case Contexto::Fim::TamanhoErrado:
            return FimImportacao::TamanhoErrado;
        case Contexto::Fim::JanelaFechada:
            return FimImportacao::JanelaFechada;
        case Contexto::Fim::Cancelado:
            if (cancelado)
                *cancelado = true;
            break;
        default:
            break;
        }
        if (!g.gMsg.isEmpty())
            dlg::MsgBox(g.gMsg, Icone::Critico);
        return FimImportacao::Parada;
    }

    QString arquivo;
    if (g.gRegErros == 0) {
        if (!erroCopia.isEmpty())
            digestos.copia.clear();   // incomplete: Importar_Texto copies the source instead
        if (!Importar_Texto(arquivo, &painel, &digestos)) {
            dlg::MsgBox(g.gMsg);
            return FimImportacao::Parada;
        }
        if (!Importar_leiaute(&digestos)) {
            dlg::MsgBox(g.gMsg, Icone::Critico);
            return FimImportacao::Parada;
        }
    } else {
        digestos = {};
    }
    if (!GravaImportados(arquivo, digestos)) {
        dlg::MsgBox(g.gMsg);
        return FimImportacao::Parada;
    }
    if (!compactar(painel))
        return FimImportacao::Parada;
    return FimImportacao::Concluida;
}

} // namespace motor
