#pragma once
// What a validation run shows while it works. The run window maps it onto
// its caption, lblprepara and ProgressBar1; the default shows nothing (bench,
// tests).
#include <QString>

namespace validacao {

class Painel {
public:
    virtual ~Painel() = default;
    // The window caption of the step in hand.
    virtual void titulo(const QString& texto) { (void)texto; }
    // lblprepara shown or hidden.
    virtual void preparando(bool visivel) { (void)visivel; }
    // ProgressBar1: value 0, this maximum, visible.
    virtual void iniciarBarra(int maximo) { (void)maximo; }
    // ProgressBar1 value raised by n.
    virtual void avancarBarra(int n) { (void)n; }
    // Called now and then during long steps; may let the event loop run.
    virtual void rende() {}
};

} // namespace validacao
