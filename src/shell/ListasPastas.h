#pragma once
// The volume list and the folder list of the windows that choose a folder
// (source file, delivery destination): the mounted volumes in a combo box,
// and the chain of folders from the volume's root to the open folder
// followed by its subfolders.
#include <QString>

class QWidget;

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace listas {

// The frame of a folder-choosing window with its volume and folder lists
// (named DrvDRIVE and driDiretorio) and their labels (lblUnidade, lblPasta),
// created but not laid out.
struct ControlesPasta {
    QGroupBox* moldura = nullptr;
    QLabel* lblUnidade = nullptr;
    QComboBox* DrvDRIVE = nullptr;
    QLabel* lblPasta = nullptr;
    QListWidget* driDiretorio = nullptr;
};
ControlesPasta criarControlesPasta(QWidget* janela, const QString& nomeMoldura, const QString& tituloMoldura,
                                   const QString& rotuloUnidade, const QString& rotuloPasta);

// Fills the volume list with the mounted volumes (root path as item data).
void preencherUnidades(QComboBox* unidades);
// Makes the volume of `pasta` current (added when missing), without the change event.
void selecionarUnidadeDe(QComboBox* unidades, const QString& pasta);
// The root path of a volume list entry.
QString raizDaUnidade(const QComboBox* unidades, int indice);
// True when a volume's root can be listed.
bool volumeLegivel(const QString& raiz);

// Gives a folder list its indenting delegate (call once).
void prepararPastas(QListWidget* pastas);
// Lists the folders of `pasta` (an absolute, clean path); the open folder is current.
void listarPastas(QListWidget* pastas, const QString& pasta);
// The full path of a folder list entry; empty for a name that cannot be used.
QString caminhoDoItem(const QListWidgetItem* item);
// An entry whose name cannot be used keeps its refusal and looks apart.
void marcarRecusa(QListWidgetItem* item, const QString& recusa);
// The refusal of an entry whose name cannot be used; empty for the others.
QString recusaDoItem(const QListWidgetItem* item);
// Shows the refusal of an entry whose name cannot be used (a critical
// message); false, showing nothing, for the others.
bool mostrarRecusa(const QListWidgetItem* item);
// The refusal of a volume whose root lost its name in the reading; empty
// for the others.
QString recusaDaUnidade(const QString& raiz);

} // namespace listas
