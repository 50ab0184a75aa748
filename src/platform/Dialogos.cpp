#include "Dialogos.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace dlg {

namespace {
Dialogos* substituto = nullptr;

QWidget* janelaAtiva()
{
    QWidget* w = QApplication::activeModalWidget();
    return w ? w : QApplication::activeWindow();
}

// A box with a short text would be narrower than its title; the window
// manager then cuts the title. The title bar's font and buttons are the
// window manager's: allow for a bolder font and three buttons.
void alargarParaTitulo(QMessageBox& box)
{
    QFont negrito = box.font();
    negrito.setBold(true);
    const int largura = QFontMetrics(negrito).horizontalAdvance(box.windowTitle()) + 140;
    auto* grade = qobject_cast<QGridLayout*>(box.layout());
    if (!grade)
        return;
    grade->addItem(new QSpacerItem(largura, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grade->rowCount(), 0,
                   1, grade->columnCount());
}
} // namespace

Dialogos& dialogos()
{
    static DialogosQt qt;
    return substituto ? *substituto : qt;
}

void definirDialogos(Dialogos* d)
{
    substituto = d;
}

int MsgBox(const QString& texto, Icone icone, Botoes botoes, const QString& titulo)
{
    return dialogos().mensagem(Mensagem{texto, icone, botoes, titulo.isEmpty() ? TituloPadrao : titulo});
}

int DialogosQt::mensagem(const Mensagem& m)
{
    QMessageBox box(janelaAtiva());
    box.setWindowTitle(m.titulo.isEmpty() ? TituloPadrao : m.titulo);
    box.setText(m.texto);
    switch (m.icone) {
    case Icone::Informacao: box.setIcon(QMessageBox::Information); break;
    case Icone::Critico: box.setIcon(QMessageBox::Critical); break;
    case Icone::Exclamacao: box.setIcon(QMessageBox::Warning); break;
    case Icone::Pergunta: box.setIcon(QMessageBox::Question); break;
    case Icone::Nenhum: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (m.botoes) {
    case Botoes::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Botoes::SimNao:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
        break;
    case Botoes::OkCancelar:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
        break;
    }
    alargarParaTitulo(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return RespSim;
    case QMessageBox::No: return RespNao;
    case QMessageBox::Cancel: return RespCancelar;
    default: return RespOk;
    }
}

bool DialogosQt::dialogoImpressora(QPrinter& impressora)
{
    QPrintDialog d(&impressora, janelaAtiva());
    return d.exec() == QDialog::Accepted;
}

bool DialogosQt::configurarImpressora(QPrinter& impressora)
{
    QPrintDialog d(&impressora, janelaAtiva());
    d.setWindowTitle(QStringLiteral("Configurar Impressão"));
    // Choosing, not printing: no page range.
    d.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize
                 | QAbstractPrintDialog::PrintCollateCopies);
    if (auto* caixa = d.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = caixa->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return d.exec() == QDialog::Accepted;
}

} // namespace dlg
