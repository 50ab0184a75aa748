#pragma once
// What the volume and folder lists of a folder-choosing window (source file,
// delivery destination) do: a volume chosen opens at its root, a folder
// activated opens; a volume that cannot be read or named, or a folder whose
// name cannot be used, is refused with a message and the lists stay on the
// open folder.
#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QWidget;

namespace listas {

class ControlePastas : public QObject {
    Q_OBJECT
public:
    // `textoMidia` is the window's message for a volume that cannot be read;
    // `aoAbrir` runs after every folder opened (the window's change event).
    ControlePastas(QWidget* janela, QComboBox* unidades, QListWidget* pastas, const QString& textoMidia,
                   std::function<void()> aoAbrir = {});

    // The open folder.
    const QString& pasta() const { return m_pasta; }
    // Opens a folder: the volume list on its volume, the folder list on it.
    void definirPasta(const QString& pasta);

private:
    void unidadeEscolhida(int indice);
    void pastaAtivada(QListWidgetItem* item);
    // The open folder highlighted again, after a refusal.
    void voltarParaPastaAberta();

    QComboBox* m_unidades;
    QListWidget* m_pastas;
    QString m_textoMidia;
    std::function<void()> m_aoAbrir;
    QString m_pasta;
};

} // namespace listas
