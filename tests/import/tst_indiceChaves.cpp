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

QTEST_APPLESS_MAIN(TstIndiceChaves)
#include "tst_indiceChaves.moc"
