#include "ListasPastas.h"

#include "platform/Dialogos.h"
#include "platform/NomesNativos.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace listas {

namespace {

// Depth of a folder in the folder list; the text stays the bare name so that
// typing a name finds it.
constexpr int PapelNivel = Qt::UserRole + 1;
// The refusal of an entry whose name cannot be used.
constexpr int PapelRecusa = Qt::UserRole + 2;

class DelegadoRecuo : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcao, indice);
        opcao->rect.adjust(indice.data(PapelNivel).toInt() * 12, 0, 0, 0);
    }
};

} // namespace

void preencherUnidades(QComboBox* unidades)
{
    unidades->clear();
    QStringList raizes;
    QHash<QString, QString> nomes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || raizes.contains(v.rootPath()))
            continue;
        raizes << v.rootPath();
        nomes.insert(v.rootPath(), v.name());
    }
    raizes.sort();
    for (const QString& r : raizes) {
        const QString nome = nomes.value(r);
        unidades->addItem(nome.isEmpty() || nome == r ? r : r + QStringLiteral(" [") + nome + u']', r);
    }
}

void selecionarUnidadeDe(QComboBox* unidades, const QString& pasta)
{
    const QString raiz = QStorageInfo(pasta).rootPath();
    if (raiz.isEmpty())
        return;
    int i = unidades->findData(raiz);
    if (i < 0) {
        unidades->addItem(raiz, raiz);
        i = unidades->count() - 1;
    }
    const QSignalBlocker bloqueio(unidades);
    unidades->setCurrentIndex(i);
}

QString raizDaUnidade(const QComboBox* unidades, int indice)
{
    return unidades->itemData(indice).toString();
}

bool volumeLegivel(const QString& raiz)
{
    const QStorageInfo v(raiz);
    const QFileInfo fi(raiz);
    return v.isValid() && v.isReady() && fi.isDir() && fi.isReadable() && fi.isExecutable();
}

void prepararPastas(QListWidget* pastas)
{
    pastas->setItemDelegate(new DelegadoRecuo(pastas));
}

void listarPastas(QListWidget* pastas, const QString& pasta)
{
    pastas->clear();
    QStringList cadeia;
    QDir d(pasta);
    while (true) {
        cadeia.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    const QIcon aberta = pastas->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon fechada = pastas->style()->standardIcon(QStyle::SP_DirClosedIcon);
    int nivel = 0;
    for (const QString& c : cadeia) {
        const QString nome = QDir(c).isRoot() ? c : QFileInfo(c).fileName();
        auto* item = new QListWidgetItem(aberta, nome, pastas);
        item->setData(Qt::UserRole, c);
        item->setData(PapelNivel, nivel);
        ++nivel;
    }
    pastas->setCurrentRow(pastas->count() - 1);
    for (const nomes::Entrada& e : nomes::listar(pasta, nomes::Filtro::Pastas)) {
        auto* item = new QListWidgetItem(fechada, e.exibicao, pastas);
        item->setData(Qt::UserRole, e.caminho);
        item->setData(PapelNivel, nivel);
        marcarRecusa(item, e.recusa);
    }
}

QString caminhoDoItem(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void marcarRecusa(QListWidgetItem* item, const QString& recusa)
{
    if (recusa.isEmpty())
        return;
    item->setData(PapelRecusa, recusa);
    item->setToolTip(recusa);
    QFont f = item->font();
    f.setItalic(true);
    item->setFont(f);
}

QString recusaDoItem(const QListWidgetItem* item)
{
    return item ? item->data(PapelRecusa).toString() : QString();
}

bool mostrarRecusa(const QListWidgetItem* item)
{
    const QString recusa = recusaDoItem(item);
    if (recusa.isEmpty())
        return false;
    dlg::MsgBox(recusa, dlg::Icone::Critico);
    return true;
}

QString recusaDaUnidade(const QString& raiz)
{
    // The volume list has only the text Qt made of a mount point; one that
    // lost its bytes holds U+FFFD and is not found under that name.
    if (!raiz.contains(QChar(QChar::ReplacementCharacter)) || QFileInfo::exists(raiz))
        return QString();
    return nomes::textoRecusa(nomes::Tipo::Pasta, QFile::encodeName(raiz));
}

ControlesPasta criarControlesPasta(QWidget* janela, const QString& nomeMoldura, const QString& tituloMoldura,
                                   const QString& rotuloUnidade, const QString& rotuloPasta)
{
    ControlesPasta c;
    c.moldura = new QGroupBox(tituloMoldura, janela);
    c.moldura->setObjectName(nomeMoldura);
    c.lblUnidade = new QLabel(rotuloUnidade, c.moldura);
    c.lblUnidade->setObjectName(QStringLiteral("lblUnidade"));
    c.DrvDRIVE = new QComboBox(c.moldura);
    c.DrvDRIVE->setObjectName(QStringLiteral("DrvDRIVE"));
    c.lblPasta = new QLabel(rotuloPasta, c.moldura);
    c.lblPasta->setObjectName(QStringLiteral("lblPasta"));
    c.driDiretorio = new QListWidget(c.moldura);
    c.driDiretorio->setObjectName(QStringLiteral("driDiretorio"));
    prepararPastas(c.driDiretorio);
    c.lblUnidade->setBuddy(c.DrvDRIVE);
    c.lblPasta->setBuddy(c.driDiretorio);
    return c;
}

} // namespace listas
