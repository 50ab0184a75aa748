#include "ControlePastas.h"

#include "ListasPastas.h"

#include "platform/Dialogos.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>

namespace listas {

ControlePastas::ControlePastas(QWidget* janela, QComboBox* unidades, QListWidget* pastas,
                               const QString& textoMidia, std::function<void()> aoAbrir)
    : QObject(janela)
    , m_unidades(unidades)
    , m_pastas(pastas)
    , m_textoMidia(textoMidia)
    , m_aoAbrir(std::move(aoAbrir))
{
    connect(m_unidades, &QComboBox::activated, this, &ControlePastas::unidadeEscolhida);
    connect(m_pastas, &QListWidget::itemActivated, this, &ControlePastas::pastaAtivada);
}

void ControlePastas::definirPasta(const QString& pasta)
{
    m_pasta = QDir::cleanPath(QDir(pasta).absolutePath());
    selecionarUnidadeDe(m_unidades, m_pasta);
    listarPastas(m_pastas, m_pasta);
    if (m_aoAbrir)
        m_aoAbrir();
}

void ControlePastas::unidadeEscolhida(int indice)
{
    const QString raiz = raizDaUnidade(m_unidades, indice);
    QString recusa = recusaDaUnidade(raiz);
    if (recusa.isEmpty() && !volumeLegivel(raiz))
        recusa = m_textoMidia;
    if (recusa.isEmpty()) {
        definirPasta(raiz);
        return;
    }
    selecionarUnidadeDe(m_unidades, m_pasta);
    dlg::MsgBox(recusa, dlg::Icone::Critico);
}

void ControlePastas::pastaAtivada(QListWidgetItem* item)
{
    if (!item)
        return;
    if (recusaDoItem(item).isEmpty()) {
        definirPasta(caminhoDoItem(item));
        return;
    }
    // The files listed are still the open folder's: so is the highlight.
    voltarParaPastaAberta();
    mostrarRecusa(item);
}

void ControlePastas::voltarParaPastaAberta()
{
    for (int i = 0; i < m_pastas->count(); ++i) {
        if (caminhoDoItem(m_pastas->item(i)) == m_pasta) {
            m_pastas->setCurrentRow(i);
            return;
        }
    }
}

} // namespace listas
