#pragma once
// The button row most work windows end with.
#include <QString>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// A named label and a named button of a window; the button never takes
// Enter by itself.
QLabel* novoRotulo(QWidget* janela, const QString& nome, const QString& texto = QString());
QPushButton* novoBotao(QWidget* janela, const QString& nome, const QString& texto);

// "&Ok", "&Cancelar" and "&Ajuda" (named cmdOk, cmdCancelar, cmdAjuda), none
// of them taking Enter by itself, in a row pushed to the right that the
// window adds to its own layout. The window connects the buttons.
struct BotoesOkCancelarAjuda {
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
    QHBoxLayout* linha = nullptr;
};
BotoesOkCancelarAjuda criaBotoesOkCancelarAjuda(QWidget* janela);
