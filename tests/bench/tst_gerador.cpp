// The benchmark's declaration generator: its files must be what the import
// accepts (standard layouts, CR LF, balanced entries, balances that agree
// with the entries), and seeded errors must land where it says.

#include "platform/Banco.h"
#include "platform/Moeda.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Gerador = QStringLiteral(TOBRI_BIN_DIR "/tobri-gerador");

struct Declaracao {
    int in;
    QDate inicio, fim;
    int contas;
    QString pasta, pastaErros;
};

// Field positions of a standard layout, read from the template database.
struct Leiaute {
    int tamanho = 0;
    QString primeiro;                       // every layout starts with a date
    QHash<QString, QPair<int, int>> campos; // NomeReduzido -> (start, width)
    QByteArray campo(const QByteArray& r, const QString& nome) const
    {
        const auto c = campos.value(nome);
        return r.mid(c.first - 1, c.second);
    }
    QByteArray codigo(const QByteArray& r, const QString& nome) const { return campo(r, nome).trimmed(); }
};

Leiaute leiaute(int in, int tipo)
{
    Leiaute l;
    db::Conexao c;
    if (!c.abrir(QStringLiteral(TOBRI_BIN_DIR "/TOBRI.MDB")))
        return l;
    db::Consulta q(c);
    q.preparar(QStringLiteral("SELECT NomeReduzido, PosicaoInicial, Tamanho FROM Tbleiautepadrao "
                              "WHERE INarquivo = ? AND TipoArquivo = ? ORDER BY Codsequ"));
    if (!q.executar({in, tipo}))
        return l;
    while (q.proximo()) {
        const int pos = q.valor(1).toInt(), tam = q.valor(2).toInt();
        if (l.primeiro.isEmpty())
            l.primeiro = q.valor(0).toString();
        l.campos.insert(q.valor(0).toString(), {pos, tam});
        l.tamanho = std::max(l.tamanho, pos + tam - 1);
    }
    return l;
}

QString arquivo(const QString& pasta, int tipo)
{
    return pasta + QStringLiteral("/tipo%1.txt").arg(tipo);
}

// Records of a file; fails unless every one ends in CR LF and has the layout's length.
QList<QByteArray> registros(const QString& caminho, int tamanho, QString* falha)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) {
        *falha = caminho + QStringLiteral(": não abre");
        return {};
    }
    const QByteArray tudo = f.readAll();
    if (!tudo.endsWith("\r\n")) {
        *falha = caminho + QStringLiteral(": não termina em CR LF");
        return {};
    }
    QList<QByteArray> lista = tudo.left(tudo.size() - 2).split('\n');
    for (qsizetype i = 0; i < lista.size(); ++i) {
        QByteArray& r = lista[i];
        if (i + 1 < lista.size()) {
            if (!r.endsWith('\r')) {
                *falha = caminho + QStringLiteral(": LF sem CR no registro %1").arg(i + 1);
                return {};
            }
            r.chop(1);
        }
        if (r.size() != tamanho) {
            *falha = caminho + QStringLiteral(": registro %1 com %2 bytes").arg(i + 1).arg(r.size());
            return {};
        }
    }
    return lista;
}

Moeda valor(const QByteArray& campo)
{
    return Moeda::deCentavos(campo.toLongLong()).value_or(Moeda());
}

Moeda comSinal(const QByteArray& campo, const QByteArray& ind)
{
    const Moeda v = valor(campo);
    return ind.toUpper() == "C" ? Moeda::deUnidades(-v.unidades()) : v;
}

QDate dataDe(const QByteArray& ddmmaaaa)
{
    return QDate::fromString(QString::fromLatin1(ddmmaaaa), QStringLiteral("ddMMyyyy"));
}

// Lines of erros.txt for one file type and code: record numbers.
QList<int> errosListados(const QString& pasta, int tipo, int codigo)
{
    QList<int> r;
    QFile f(pasta + QStringLiteral("/erros.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QByteArray& l : f.readAll().split('\n')) {
        const QList<QByteArray> p = l.trimmed().split(';');
        if (p.size() == 3 && p[0].toInt() == tipo && p[2].toInt() == codigo)
            r << p[1].toInt();
    }
    return r;
}

} // namespace

class TstGerador : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void registrosNoLeiaute_data();
    void registrosNoLeiaute();
    void planoTotaliza();
    void lancamentosFecham_data();
    void lancamentosFecham();
    void saldosConferem_data();
    void saldosConferem();
    void errosSemeados_data();
    void errosSemeados();
    void errosDeCadaCodigo();
    void mesmaSementeMesmoArquivo();
    void embaralhado_data();
    void embaralhado();

private:
    bool gerar(const Declaracao& d, const QString& pasta, const QStringList& extra);
    const Declaracao& declaracao(int in) const { return in == 68 ? m_d68 : m_d86; }
    QTemporaryDir m_tmp;
    // Periods that do not start or end on a month boundary, and an odd entry count.
    Declaracao m_d68{68, QDate(2005, 2, 15), QDate(2005, 11, 10), 40, {}, {}};
    Declaracao m_d86{86, QDate(2006, 1, 1), QDate(2006, 12, 31), 60, {}, {}};
};

static const QString Erros = QStringLiteral("6/28:3,6/34:4,8/15:2,7/49:5");

bool TstGerador::gerar(const Declaracao& d, const QString& pasta, const QStringList& extra)
{
    QProcess p;
    p.start(Gerador, QStringList{QStringLiteral("--in"), QString::number(d.in), QStringLiteral("--inicio"),
                                 d.inicio.toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("--fim"),
                                 d.fim.toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("--contas"),
                                 QString::number(d.contas), QStringLiteral("--lancamentos"), QStringLiteral("1001"),
                                 QStringLiteral("--lancamentos-aux"), QStringLiteral("301"), QStringLiteral("--centros"),
                                 QStringLiteral("7"), QStringLiteral("--saida"), pasta} + extra);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return false;
    }
    return true;
}

void TstGerador::initTestCase()
{
    QVERIFY(QFile::exists(Gerador));
    QVERIFY(m_tmp.isValid());
    for (Declaracao* d : {&m_d68, &m_d86}) {
        d->pasta = m_tmp.filePath(QStringLiteral("in%1").arg(d->in));
        d->pastaErros = m_tmp.filePath(QStringLiteral("in%1-erros").arg(d->in));
        QVERIFY(gerar(*d, d->pasta, {}));
        QVERIFY(gerar(*d, d->pastaErros, {QStringLiteral("--erros"), Erros}));
    }
}

void TstGerador::registrosNoLeiaute_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    for (int in : {68, 86})
        for (int tipo = 1; tipo <= 9; ++tipo)
            if (in == 68 || (tipo != 4 && tipo != 5))
                QTest::addRow("IN %d tipo %d", in, tipo) << in << tipo;
}

void TstGerador::registrosNoLeiaute()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    const Leiaute l = leiaute(in, tipo);
    QVERIFY(l.tamanho > 0);
    QString falha;
    const auto lista = registros(arquivo(declaracao(in).pasta, tipo), l.tamanho, &falha);
    QVERIFY2(falha.isEmpty(), qPrintable(falha));
    QVERIFY(!lista.isEmpty());
    for (const QByteArray& r : lista) {
        QVERIFY(!r.contains('\r') && !r.contains('\n') && !r.contains('\0'));
        QVERIFY(dataDe(l.campo(r, l.primeiro)).isValid());
    }
}

// Instruction 86: analytic accounts total into synthetic ones, every
// synthetic account has children, auxiliary accounts hang on analytic ones.
void TstGerador::planoTotaliza()
{
    const Leiaute l = leiaute(86, 1);
    QString falha;
    const auto geral = registros(arquivo(m_d86.pasta, 1), l.tamanho, &falha);
    const auto aux = registros(arquivo(m_d86.pasta, 2), l.tamanho, &falha);
    QVERIFY2(falha.isEmpty(), qPrintable(falha));
    QHash<QByteArray, QByteArray> tipo;
    for (const QByteArray& r : geral)
        tipo.insert(l.codigo(r, "CodConta"), l.campo(r, "TipoConta"));
    QSet<QByteArray> comFilhos;
    int analiticas = 0;
    for (const QByteArray& r : geral) {
        const QByteArray tot = l.codigo(r, "CodContaTot");
        if (l.campo(r, "TipoConta") == "A") {
            ++analiticas;
            QVERIFY(!tot.isEmpty());
        }
        if (!tot.isEmpty()) {
            QCOMPARE(tipo.value(tot), QByteArray("S"));
            comFilhos.insert(tot);
        }
        QVERIFY(!l.codigo(r, "DescConta").isEmpty());
    }
    QCOMPARE(analiticas, m_d86.contas);
    for (auto it = tipo.cbegin(); it != tipo.cend(); ++it)
        if (it.value() == "S")
            QVERIFY2(comFilhos.contains(it.key()), it.key().constData());
    for (const QByteArray& r : aux) {
        QCOMPARE(l.campo(r, "TipoConta"), QByteArray("A"));
        QCOMPARE(tipo.value(l.codigo(r, "CodContaTot")), QByteArray("A"));
    }
}

void TstGerador::lancamentosFecham_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    for (int in : {68, 86})
        for (int tipo : {6, 7})
            QTest::addRow("IN %d tipo %d", in, tipo) << in << tipo;
}

// Every entry has equal debits and credits and refers to what was imported before it.
void TstGerador::lancamentosFecham()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    const Declaracao& d = declaracao(in);
    QString falha;
    auto codigos = [&](int t, const char* nome, const char* tipoConta) {
        const Leiaute lt = leiaute(in, t);
        QSet<QByteArray> s;
        for (const QByteArray& r : registros(arquivo(d.pasta, t), lt.tamanho, &falha))
            if (!tipoConta || lt.campo(r, "TipoConta") == tipoConta)
                s.insert(lt.codigo(r, nome));
        return s;
    };
    const QSet<QByteArray> geral = codigos(1, "CodConta", in == 86 ? "A" : nullptr);
    const QSet<QByteArray> aux = codigos(2, "CodConta", nullptr);
    const QSet<QByteArray> custos = codigos(3, in == 86 ? "CodCustoDesp" : "CodCusto", nullptr);
    const QSet<QByteArray> despesas = in == 68 ? codigos(4, "CodDespesa", nullptr) : QSet<QByteArray>();
    const QSet<QByteArray> historicos = in == 68 ? codigos(5, "CodHistPad", nullptr) : QSet<QByteArray>();
    const Leiaute l = leiaute(in, tipo);
    const auto lista = registros(arquivo(d.pasta, tipo), l.tamanho, &falha);
    QVERIFY2(falha.isEmpty(), qPrintable(falha));
    QCOMPARE(lista.size(), tipo == 6 ? 1001 : 301);
    const QSet<QByteArray>& contas = tipo == 6 ? geral : aux;

    QMap<QByteArray, Moeda> saldoDoLancamento;
    Moeda debitos, creditos;
    for (const QByteArray& r : lista) {
        const QDate data = dataDe(l.campo(r, "DataLanc"));
        QVERIFY(data >= d.inicio && data <= d.fim);
        QVERIFY(contas.contains(l.codigo(r, "CodConta")));
        const QByteArray contra = l.codigo(r, "Contrapartida");
        QVERIFY(contas.contains(contra) || geral.contains(contra));
        const QByteArray custo = l.codigo(r, in == 86 ? "CodCustoDesp" : "CodCusto");
        QVERIFY(custo.isEmpty() || custos.contains(custo));
        if (in == 68) {
            const QByteArray desp = l.codigo(r, "CodDespesa"), hist = l.codigo(r, "CodHistPad");
            QVERIFY(desp.isEmpty() || despesas.contains(desp));
            QVERIFY(hist.isEmpty() || historicos.contains(hist));
            QVERIFY(!hist.isEmpty() || !l.codigo(r, "Historico").isEmpty());
        } else {
            QVERIFY(!l.codigo(r, "Historico").isEmpty());
        }
        const Moeda v = valor(l.campo(r, "Valor"));
        QVERIFY(!v.zero());
        const QByteArray dc = l.campo(r, "IndDC");
        QVERIFY(dc == "D" || dc == "C");
        Moeda& s = saldoDoLancamento[l.campo(r, "NumLanc")];
        QVERIFY(dc == "D" ? s.somar(v) && debitos.somar(v) : s.subtrair(v) && creditos.somar(v));
    }
    QCOMPARE(debitos, creditos);
    QVERIFY(!debitos.zero());
    for (auto it = saldoDoLancamento.cbegin(); it != saldoDoLancamento.cend(); ++it)
        QVERIFY2(it.value().zero(), it.key().constData());
}

void TstGerador::saldosConferem_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipoLanc");
    for (int in : {68, 86})
        for (int tipo : {6, 7})
            QTest::addRow("IN %d tipo %d", in, tipo + 2) << in << tipo;
}

// One balance per account and month: opening + debits - credits = closing,
// debits and credits those of the entries, next month opens where this one
// closed, and the balances of every month add up to zero.
void TstGerador::saldosConferem()
{
    QFETCH(int, in);
    QFETCH(int, tipoLanc);
    const Declaracao& d = declaracao(in);
    QString falha;
    const Leiaute ll = leiaute(in, tipoLanc), ls = leiaute(in, tipoLanc + 2);
    QHash<QByteArray, Moeda> movDeb, movCred; // account + mmyyyy
    for (const QByteArray& r : registros(arquivo(d.pasta, tipoLanc), ll.tamanho, &falha)) {
        const QByteArray chave = ll.codigo(r, "CodConta") + '|' + ll.campo(r, "DataLanc").mid(2);
        QVERIFY((ll.campo(r, "IndDC") == "D" ? movDeb : movCred)[chave].somar(valor(ll.campo(r, "Valor"))));
    }
    const auto saldos = registros(arquivo(d.pasta, tipoLanc + 2), ls.tamanho, &falha);
    QVERIFY2(falha.isEmpty(), qPrintable(falha));

    QStringList meses;
    for (QDate m(d.inicio.year(), d.inicio.month(), 1); m <= d.fim; m = m.addMonths(1))
        meses << m.toString(QStringLiteral("MMyyyy"));
    QSet<QByteArray> contas;
    QHash<QByteArray, Moeda> fechamento; // account -> closing of the month before
    QHash<QByteArray, Moeda> somaDoMes;
    QSet<QByteArray> vistas;
    int conferidos = 0;
    for (const QByteArray& r : saldos) {
        const QByteArray conta = ls.codigo(r, "CodConta"), data = ls.campo(r, "DataSaldoIni");
        const QByteArray mes = data.mid(2), chave = conta + '|' + mes;
        QVERIFY2(!vistas.contains(chave), chave.constData());
        vistas.insert(chave);
        contas.insert(conta);
        const int m = meses.indexOf(QString::fromLatin1(mes));
        QVERIFY(m >= 0);
        QCOMPARE(dataDe(data), m == 0 ? d.inicio : QDate(dataDe(data).year(), dataDe(data).month(), 1));
        const Moeda ini = comSinal(ls.campo(r, "ValorSaldoIni"), ls.campo(r, "IndDCSaldoIni"));
        const Moeda fim = comSinal(ls.campo(r, "ValorSaldoFin"), ls.campo(r, "IndDCSaldoFin"));
        const Moeda deb = valor(ls.campo(r, "ValorDebitos")), cred = valor(ls.campo(r, "ValorCreditos"));
        QCOMPARE(deb, movDeb.value(chave));
        QCOMPARE(cred, movCred.value(chave));
        Moeda calc = ini;
        QVERIFY(calc.somar(deb) && calc.subtrair(cred));
        QCOMPARE(fim, calc);
        if (m > 0)
            QCOMPARE(ini, fechamento.value(conta));
        fechamento[conta] = fim;
        QVERIFY(somaDoMes[mes].somar(fim));
        ++conferidos;
    }
    const int esperadas = tipoLanc == 6 ? d.contas : int(registros(arquivo(d.pasta, 2), leiaute(in, 2).tamanho, &falha).size());
    QCOMPARE(contas.size(), esperadas);
    QCOMPARE(conferidos, esperadas * int(meses.size()));
    for (auto it = movDeb.cbegin(); it != movDeb.cend(); ++it)
        QVERIFY2(vistas.contains(it.key()), it.key().constData());
    for (auto it = somaDoMes.cbegin(); it != somaDoMes.cend(); ++it)
        QVERIFY2(it.value().zero(), it.key().constData());
}

void TstGerador::errosSemeados_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("quantos");
    for (int in : {68, 86}) {
        QTest::addRow("IN %d data fora do período", in) << in << 6 << 28 << 3;
        QTest::addRow("IN %d valor zero", in) << in << 6 << 34 << 4;
        QTest::addRow("IN %d saldo fora do período", in) << in << 8 << 15 << 2;
        QTest::addRow("IN %d caractere nulo", in) << in << 7 << 49 << 5;
    }
}

// The seeded records show their fault, erros.txt names them, and every other
// record is the same as in the run without errors.
void TstGerador::errosSemeados()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(int, codigo);
    QFETCH(int, quantos);
    const Declaracao& d = declaracao(in);
    const Leiaute l = leiaute(in, tipo);
    QString falha;
    const auto limpos = registros(arquivo(d.pasta, tipo), l.tamanho, &falha);
    const auto comErros = registros(arquivo(d.pastaErros, tipo), l.tamanho, &falha);
    QVERIFY2(falha.isEmpty(), qPrintable(falha));
    QCOMPARE(comErros.size(), limpos.size());
    auto temFalha = [&](const QByteArray& r) {
        switch (codigo) {
        case 28: {
            const QDate dt = dataDe(l.campo(r, "DataLanc"));
            return dt.isValid() && (dt < d.inicio || dt > d.fim);
        }
        case 34: return l.campo(r, "Valor") == QByteArray(17, '0');
        case 15: return dataDe(l.campo(r, "DataSaldoIni")) < d.inicio;
        default: return r.contains('\0');
        }
    };
    QList<int> achados, diferentes;
    for (int i = 0; i < comErros.size(); ++i) {
        if (temFalha(comErros[i]))
            achados << i + 1;
        if (comErros[i] != limpos[i])
            diferentes << i + 1;
    }
    QCOMPARE(achados.size(), quantos);
    QCOMPARE(errosListados(d.pastaErros, tipo, codigo), achados);
    // Other seeded codes of the same file account for the rest of the differences.
    QList<int> listados;
    for (int c : {28, 34, 15, 49})
        listados += errosListados(d.pastaErros, tipo, c);
    std::sort(listados.begin(), listados.end());
    QCOMPARE(diferentes, listados);
}

// --erros-cada seeds that many of every code the file type can raise.
void TstGerador::errosDeCadaCodigo()
{
    const QString pasta = m_tmp.filePath(QStringLiteral("cada"));
    QVERIFY(gerar(m_d86, pasta, {QStringLiteral("--tipos"), QStringLiteral("6,8"), QStringLiteral("--erros-cada"),
                                 QStringLiteral("2")}));
    const QList<int> lanc{26, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 41, 44, 49};
    const QList<int> saldos{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 49};
    QSet<int> registros6;
    for (int c : lanc) {
        const QList<int> r = errosListados(pasta, 6, c);
        QCOMPARE(r.size(), 2);
        for (int n : r)
            registros6.insert(n);
    }
    QCOMPARE(registros6.size(), 2 * int(lanc.size()));
    for (int c : saldos)
        QCOMPARE(errosListados(pasta, 8, c).size(), 2);
    QVERIFY(errosListados(pasta, 6, 43).isEmpty()); // instruction 68 only
}

void TstGerador::mesmaSementeMesmoArquivo()
{
    const QString so6 = m_tmp.filePath(QStringLiteral("so6")), semente2 = m_tmp.filePath(QStringLiteral("semente2"));
    QVERIFY(gerar(m_d86, so6, {QStringLiteral("--tipos"), QStringLiteral("6")}));
    QVERIFY(gerar(m_d86, semente2, {QStringLiteral("--tipos"), QStringLiteral("6"), QStringLiteral("--seed"),
                                    QStringLiteral("2")}));
    auto ler = [](const QString& c) {
        QFile f(c);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray completo = ler(arquivo(m_d86.pasta, 6));
    QVERIFY(!completo.isEmpty());
    QCOMPARE(ler(arquivo(so6, 6)), completo);
    QVERIFY(ler(arquivo(semente2, 6)) != completo);
    QVERIFY(!QFile::exists(arquivo(so6, 1)));
}

void TstGerador::embaralhado_data()
{
    QTest::addColumn<int>("in");
    QTest::newRow("IN 68") << 68;
    QTest::newRow("IN 86") << 86;
}

// --embaralhar writes every file's records in another order, and erros.txt
// names where each seeded record went.
void TstGerador::embaralhado()
{
    QFETCH(int, in);
    const Declaracao& d = declaracao(in);
    const QString pasta = m_tmp.filePath(QStringLiteral("embaralhado%1").arg(in));
    QVERIFY(gerar(d, pasta, {QStringLiteral("--erros"), Erros, QStringLiteral("--embaralhar")}));
    for (int tipo = 1; tipo <= 9; ++tipo) {
        if (in == 86 && (tipo == 4 || tipo == 5))
            continue;
        const Leiaute l = leiaute(in, tipo);
        QString falha;
        const auto gerados = registros(arquivo(d.pastaErros, tipo), l.tamanho, &falha);
        const auto embaralhados = registros(arquivo(pasta, tipo), l.tamanho, &falha);
        QVERIFY2(falha.isEmpty(), qPrintable(falha));
        QCOMPARE(embaralhados.size(), gerados.size());
        if (gerados.size() > 5)
            QVERIFY(embaralhados != gerados);
        auto ordenados = [](QList<QByteArray> r) {
            std::sort(r.begin(), r.end());
            return r;
        };
        QCOMPARE(ordenados(embaralhados), ordenados(gerados));
        for (int codigo : {28, 34, 15, 49}) {
            const QList<int> antes = errosListados(d.pastaErros, tipo, codigo);
            const QList<int> depois = errosListados(pasta, tipo, codigo);
            QCOMPARE(depois.size(), antes.size());
            QList<QByteArray> a, b;
            for (int n : antes)
                a << gerados.value(n - 1);
            for (int n : depois)
                b << embaralhados.value(n - 1);
            QCOMPARE(ordenados(b), ordenados(a));
        }
    }
    QVERIFY(!QFile::exists(arquivo(pasta, 1) + QStringLiteral(".gerado")));
}

QTEST_GUILESS_MAIN(TstGerador)
#include "tst_gerador.moc"
