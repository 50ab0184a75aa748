#pragma once
// The About box.
#include "platform/Formularios.h"

#include <QMap>

class QLabel;
class QPushButton;

// "Versão " + major + "." + minor and revision joined (1.0.8 gives "Versão 1.08").
QString textoVersao(int maior, int menor, int revisao);

inline const QString EnderecoOrvane = QStringLiteral("https://www.orvane.gov.example/");

class frmSobre : public Formulario {
    Q_OBJECT
public:
    explicit frmSobre(QWidget* parent = nullptr);
    void Form_Load() override;

    // The framed labels: 0 the web address, 2 the version.
    QMap<int, QLabel*> lblFrame;
    QPushButton* cmdOk = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void lblFrame_Click(int indice);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
};
