// The engine's key index against a reference map, over random keys that
// include empty keys, NUL bytes and shared prefixes, through several growths.
#include "import/motor/Consultas.h"

#include <QRandomGenerator>
#include <QTest>

#include <map>
#include <string>

class TstIndiceChaves : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void igualAUmMapa_data();
    void igualAUmMapa();
    void impressoesNuncaAbaixoDaContagem();
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

// The fingerprints answer "how many rows with this key" with a count that is
// never below the true one and is 0 for a key never stored, through growths;
// the highest count bounds every key's.
void TstIndiceChaves::impressoesNuncaAbaixoDaContagem()
{
    motor::ImpressoesChaves impressoes;
    std::map<std::string, int> referencia;
    QRandomGenerator gerador(11);
    for (int i = 0; i < 200000; ++i) {
        const std::string k = "0" + std::to_string(gerador.bounded(12)) + '\0' + std::to_string(gerador.bounded(120000));
        const QByteArrayView v(k.data(), qsizetype(k.size()));
        const int real = referencia.count(k) ? referencia[k] : 0;
        const int contagem = impressoes.contagem(v);
        QVERIFY(contagem >= std::min(real, 3));
        QVERIFY(impressoes.maiorContagem() >= contagem);   // the shortcut of a file without repeats
        if (real == 0)
            QCOMPARE(contagem, 0);   // a 62-bit fingerprint of so few keys does not collide
        if (gerador.bounded(2) == 0) {
            impressoes.inserir(v);
            ++referencia[k];
        }
    }
    QCOMPARE(impressoes.tamanho(), qsizetype(referencia.size()));
}

QTEST_APPLESS_MAIN(TstIndiceChaves)
#include "tst_indiceChaves.moc"
