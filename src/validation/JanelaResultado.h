#pragma once
// The result tabs of a validation, shown one at a time inside the results
// navigator: each shows the findings of one check (a grid over a result
// table, or the entry totals) with its counters, prints its report, and
// closes the navigator.
#include "platform/Dialogos.h"
#include "platform/Formularios.h"
#include "reports/RptResultadoValidacao.h"

#include <array>
#include <optional>

class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace db {
class ModeloSobDemanda;
}

class JanelaResultado : public Formulario {
    Q_OBJECT
public:
    QPushButton* cmdImprimir() const { return m_cmdImprimir; }

protected:
    // `quadro`: the frame's caption (none for an empty text); the names of the
    // Close and Help buttons differ between the tabs.
    JanelaResultado(RelatorioValidacao relatorio, const QString& quadro, const QString& nomeFechar,
                    const QString& nomeAjuda, QWidget* parent);

    // What goes inside the frame (or the window, without a frame).
    QVBoxLayout* conteudo() const { return m_conteudo; }

    // The no-printer message and its icon.
    virtual QString mensagemSemImpressora() const;
    virtual dlg::Icone iconeSemImpressora() const { return dlg::Icone::Critico; }
    // The message for a printer error (8555 or 484).
    virtual QString mensagemErroImpressora(int numero) const;

private:
    void imprimir();
    void fechar();

    RelatorioValidacao m_relatorio;
    QVBoxLayout* m_conteudo;
    QPushButton* m_cmdImprimir;
    QPushButton* m_cmdFechar;
    QPushButton* m_cmdAjuda;
};

// The tabs with a grid over one result table.
class JanelaResultadoGrade : public JanelaResultado {
    Q_OBJECT
public:
    void Form_Load() override;
    void Form_Unload() override;

    QTableView* grade() const { return m_grade; }

    // The working-state counters a tab shows.
    struct Contadores {
        const std::array<qint32, 4>* lidos;
        const std::array<qint32, 4>* corretos;
        const std::array<qint32, 4>* comErro;
        const std::array<qint32, 4>* faltantes;  // nullptr: not shown
        QString nomeFaltantes;
    };

protected:
    // `sql` selects the six columns of `titulos` with one bound value, `filtro`;
    // `diario` indexes the counters (1 general, 2 auxiliary; 0 without counters).
    JanelaResultadoGrade(RelatorioValidacao relatorio, const QString& quadro, const QString& nomeDados,
                         const QString& sql, const QVariant& filtro, const QStringList& titulos, int diario,
                         const std::optional<Contadores>& contadores, QWidget* parent);

private:
    QString m_sql;
    QVariant m_filtro;
    QStringList m_titulos;
    int m_diario;
    std::optional<Contadores> m_contadores;
    QTableView* m_grade;
    db::ModeloSobDemanda* m_modelo;
    QLabel* m_lbllidosv = nullptr;
    QLabel* m_lblcorretosv = nullptr;
    QLabel* m_lblcomerrov = nullptr;
    QLabel* m_lblFaltantes = nullptr;
};
