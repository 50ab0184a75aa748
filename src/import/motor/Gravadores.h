#pragma once
// Good-record writers: one prepared INSERT per staging table, reused for
// every record, many records per transaction (Contexto's batch). The staging
// tables have no unique key while a file loads (it is built after the load):
// the record tests skip a repeated balance key before the writer is called
// (Consultas::saldoGravado). A failure stops the run with
// "cod.erro ... (writer's name)" in gMsg.
#include "Contexto.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <initializer_list>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace motor {

// One value bound to a statement.
struct Valor {
    enum class Tipo { Nulo, Bytes, Texto, Inteiro };
    Tipo tipo = Tipo::Nulo;
    QByteArrayView bytes;      // Windows-1252 field bytes, stored decoded, as cut
    QString texto;
    qint64 inteiro = 0;
    bool maiusculas = false;   // Bytes upper-cased (account types, D/C indicators)

    Valor() = default;
    Valor(QByteArrayView b) : tipo(Tipo::Bytes), bytes(b) {}
    Valor(const QString& t) : tipo(Tipo::Texto), texto(t) {}
    Valor(qint64 i) : tipo(Tipo::Inteiro), inteiro(i) {}
    Valor(int i) : tipo(Tipo::Inteiro), inteiro(i) {}
    Valor(Moeda m) : tipo(Tipo::Inteiro), inteiro(m.unidades()) {}   // Currency: 1/10 000
    static Valor maiusculo(QByteArrayView b) { Valor v(b); v.maiusculas = true; return v; }
};

// The connection's last error (rc: the extended code) as the database layer maps it.
db::Erro erroSqlite(sqlite3* h, int rc);

class Gravador {
public:
    explicit Gravador(Contexto& c) : m_c(c) {}
    ~Gravador();
    Gravador(const Gravador&) = delete;
    Gravador& operator=(const Gravador&) = delete;

    // Runs `sql` (prepared once per text, kept for the run) with the values,
    // inside the batch, and stores the row. False on a failure, with gMsg =
    // textoErro(..., procedimento); the rows stored before it stay stored.
    bool inserir(const QString& sql, std::initializer_list<Valor> valores, const QString& procedimento);
    // The rowid of the row the last inserir() stored.
    qint64 ultimaLinha() const { return m_ultimaLinha; }
    // Releases the prepared statements (before gConn is closed or reopened).
    void liberar();

private:
    Contexto& m_c;
    QHash<QString, sqlite3_stmt*> m_stmts;
    QString m_ultimoSql;              // the text of m_ultimo (shares its buffer)
    sqlite3_stmt* m_ultimo = nullptr;
    std::string m_buf;
    qint64 m_noLote = 0;
    qint64 m_ultimaLinha = 0;
};

// The four declaration columns (Inarquivo, cnpj, periodoinicial, periodofinal
// as ddmmyyyy) every chart, code-table and balance row begins with.
QString colunasDeclaracao();

// The writers' INSERT texts and the declaration's texts, built once per
// declaration rather than per record.
struct InsercoesDeclaracao {
    QByteArray textoCnpj, textoInicio, textoFim;   // Windows-1252, bound as field bytes (no copy per row)
    QString sql68[6], sql86[4], sqlSaldos[10];     // by file type
};
const InsercoesDeclaracao& insercoes(const Geral& g);

// Instruction 68, types 1 to 5: update date, table code, code, description.
bool fun_Grava68TabelasCodigo(Contexto& c, QByteArrayView data, QByteArrayView codTab, QByteArrayView codigo,
                              QByteArrayView descricao);
// Instruction 86, types 1 to 3: update date, code, account type, totalizing
// account, description (type 3 keeps only date, code and description).
bool fun_Grava86TabelasCodigo(Contexto& c, QByteArrayView data, QByteArrayView codigo, QByteArrayView tipoConta,
                              QByteArrayView totalizadora, QByteArrayView descricao);
// Types 8 and 9: date, account, the four amounts and the two D/C indicators
// (texts as cut from the record; indicators are stored upper-cased). After a
// row is stored the writer calls consultas().registrarGravado(tipo, data, conta, rowid).
bool fun_Grava68Saldos(Contexto& c, QByteArrayView data, QByteArrayView conta, Moeda saldoIni, QByteArrayView indIni,
                       Moeda debitos, Moeda creditos, Moeda saldoFin, QByteArrayView indFin);
bool fun_Grava86Saldos(Contexto& c, QByteArrayView data, QByteArrayView conta, Moeda saldoIni, QByteArrayView indIni,
                       Moeda debitos, Moeda creditos, Moeda saldoFin, QByteArrayView indFin);

} // namespace motor
