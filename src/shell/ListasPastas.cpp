#include "ListasPastas.h"

#include <QComboBox>
#include <QDir>
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
    const QFileInfoList filhas =
        QDir(pasta).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : filhas) {
        auto* item = new QListWidgetItem(fechada, f.fileName(), pastas);
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setData(PapelNivel, nivel);
    }
}

QString caminhoDoItem(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
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
