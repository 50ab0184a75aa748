#pragma once
// The group bar of the navigator windows: an elastic panel of rows (a button
// row and a content row per group, one group open at a time) with a tab strip
// in each content row, and the procedures that drive them.
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

// Twips (1/1440 inch) at the widget's logical resolution.
int twipsParaPixels(int twips, const QWidget* w);
int pixelsParaTwips(int pixels, const QWidget* w);

// A vertical stack of rows. A fixed row keeps its size; the rows that are not
// fixed share the height left (normally exactly one such row), and their size
// follows what they get.
class PainelElastico : public QWidget {
    Q_OBJECT
public:
    explicit PainelElastico(QWidget* parent = nullptr);

    // Adds a row holding `conteudo` (may be null); returns its number.
    int adicionarLinha(QWidget* conteudo, int tamanhoTwips, bool fixa);
    int linhas() const { return static_cast<int>(m_linhas.size()); }
    QWidget* conteudo(int linha) const;

    int tamanho(int linha) const;
    void definirTamanho(int linha, int twips);
    bool fixa(int linha) const;
    void definirFixa(int linha, bool fixa);

Q_SIGNALS:
    // A row's size was set to a new value.
    void tamanhoAlterado(int linha, int twips);
    void redimensionado();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    struct Linha {
        QWidget* conteudo = nullptr;
        int tamanho = 0;
        bool fixa = true;
    };
    void reorganizar();

    QList<Linha> m_linhas;
};

// A strip of tabs stacked top to bottom. Setting CurrTab in code does not
// raise Click; a mouse press on a tab or an arrow key does, after selecting
// that tab.
class FaixaAbas : public QWidget {
    Q_OBJECT
public:
    explicit FaixaAbas(QWidget* parent = nullptr);

    // The tab captions as one text with "|" between them.
    void definirLegendas(const QString& legendas);
    QString legendas() const { return m_legendas.join(QLatin1Char('|')); }
    int quantidade() const { return static_cast<int>(m_legendas.size()); }
    QString legenda(int aba) const;

    int CurrTab() const { return m_atual; }       // -1: none selected
    void setCurrTab(int aba);
    int FirstTab() const { return m_primeira; }
    void setFirstTab(int aba);
    int TabHeight() const { return m_alturaAba; } // twips, across the strip
    void setTabHeight(int twips);
    int Width() const;                            // twips
    void setWidth(int twips);

    // The tab at a point, or -1.
    int abaEm(const QPoint& p) const;
    QRect retanguloAba(int aba) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
private:
    int alturaLinhaPx() const;

    QStringList m_legendas;
    int m_atual = -1;
    int m_primeira = 0;
    int m_alturaAba = 0;
    int m_largura = 0;
};

// Every button row (0, 2, 4, ...) becomes fixed with the height alturaBotao (twips).
void IniciaOutlook(PainelElastico* bar, int alturaBotao);
// Every strip: no selected tab, the first tab first.
void IniciaTabs(const QList<FaixaAbas*>& tabs);
// Every strip: TabHeight = Width - 10.
void AjustaTabs(const QList<FaixaAbas*>& tabs);
// Every strip but number `indice` loses its selected tab.
void SelecionaTab(const QList<FaixaAbas*>& tabs, int indice);
// Opens group `grupo`: its content row becomes the only elastic row and the
// other content rows close by 150 twips a pass, the event loop running once
// after each pass. A call while an opening runs returns at once. Returns the
// number of passes made (0 when the call was dropped).
int AbreGrupo(PainelElastico* bar, int grupo);
