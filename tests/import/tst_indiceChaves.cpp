// The engine's hash tables against reference maps: the key index over random
// keys that include empty keys, NUL bytes and shared prefixes, and the
// fingerprints of stored rows, through several growths.
#include "import/motor/TabelasHash.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

#include <map>
#include <set>
#include <string>

class TstIndiceChaves : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void igualAUmMapa_data();
    void igualAUmMapa();
    void candidatasIncluemCadaLinhaDaChave_data();
    void candidatasIncluemCadaLinhaDaChave();
};

void TstIndiceChaves::igualAUmMapa_data()
{
    QTest::addColumn<int>("reserva");
    QTest::newRow("sem reserva") << 0;
    QTest::newRow("com reserva") << 5000;
}

void TstIndiceChaves::igualAUmMapa()
{
    QFETCH(int, reserva);
    motor::IndiceChaves indice;
    indice.reservar(reserva);
    std::map<std::string, qsizetype> referencia;
    QRandomGenerator gerador(7);
    auto chaveAleatoria = [&] {
        std::string k;
        const int n = int(gerador.bounded(12));
        for (int i = 0; i < n; ++i)
            k.push_back(char(gerador.bounded(4)) == 0 ? '\0' : char('0' + gerador.bounded(10)));
        return k;
    };
    for (int i = 0; i < 60000; ++i) {
        const std::string k = chaveAleatoria();
        const QByteArrayView v(k.data(), qsizetype(k.size()));
        const auto it = referencia.find(k);
        if (gerador.bounded(2) == 0) {
            QCOMPARE(indice.buscar(v), it == referencia.end() ? qsizetype(-1) : it->second);
        } else {
            const qsizetype numero = indice.inserir(v);
            if (it == referencia.end()) {
                QCOMPARE(numero, qsizetype(referencia.size()));
                referencia.emplace(k, numero);
            } else {
                QCOMPARE(numero, it->second);
            }
        }
    }
    QCOMPARE(indice.tamanho(), qsizetype(referencia.size()));
    for (const auto& [k, numero] : referencia)
        QCOMPARE(indice.buscar(QByteArrayView(k.data(), qsizetype(k.size()))), numero);
}

namespace {

// A fingerprint of a few values, so that many keys share one.
quint64 impressaoFraca(QByteArrayView chave)
{
    return quint64(chave.size() % 5) * 0x9E3779B97F4A7C15ull;
}

} // namespace

void TstIndiceChaves::candidatasIncluemCadaLinhaDaChave_data()
{
    QTest::addColumn<bool>("fraca");
    QTest::newRow("impressão normal") << false;
    QTest::newRow("impressão fraca") << true;
}

// Every stored row of a key is among its candidates (so a repeat is never
// missed), through growths; the highest repetition bounds every key's rows.
void TstIndiceChaves::candidatasIncluemCadaLinhaDaChave()
{
    QFETCH(bool, fraca);
    const motor::ImpressoesChaves::Funcao antes =
        motor::ImpressoesChaves::definirImpressao(fraca ? impressaoFraca : nullptr);
    const auto restaurar = qScopeGuard([antes] { motor::ImpressoesChaves::definirImpressao(antes); });
    motor::ImpressoesChaves impressoes;
    std::map<std::string, std::set<qint64>> referencia;
    QRandomGenerator gerador(11);
    const int n = fraca ? 4000 : 200000;
    qint64 rowid = 0;
    qint64 estranhas = 0;
    for (int i = 0; i < n; ++i) {
        const std::string k = "0" + std::to_string(gerador.bounded(12)) + '\0' + std::to_string(gerador.bounded(n));
        const QByteArrayView v(k.data(), qsizetype(k.size()));
        const std::set<qint64>& reais = referencia[k];
        std::set<qint64> vistas;
        impressoes.candidatas(v, [&](qint64 linha) {
            vistas.insert(linha);
            return true;
        });
        for (qint64 linha : reais)
            QVERIFY(vistas.count(linha));
        estranhas += qint64(vistas.size() - reais.size());
        QVERIFY(impressoes.maiorRepeticao() >= int(reais.size()));
        if (gerador.bounded(2) == 0) {
            QVERIFY(impressoes.inserir(v, ++rowid));
            referencia[k].insert(rowid);
        }
    }
    QCOMPARE(impressoes.tamanho(), rowid);
    if (fraca)
        QVERIFY(estranhas > 0);   // the candidates hold rows of other keys, for the judge
    else
        QCOMPARE(estranhas, qint64(0));   // 32 bits of a fingerprint of so few keys do not collide
    QVERIFY(!impressoes.inserir("x", qint64(1) << 32));   // a rowid the slot cannot hold
}

QTEST_APPLESS_MAIN(TstIndiceChaves)
#include "tst_indiceChaves.moc"
