#pragma once
// The button row most work windows end with.
class QHBoxLayout;
class QPushButton;
class QWidget;

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
