#include "VerificacaoBanco.h"

#include <QFile>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace db {

struct VerificacaoRapida::Estado {
    std::mutex m;
    std::condition_variable fim;
    sqlite3* conexao = nullptr;   // while the check runs
    // Read by the check's progress handler: SQLite clears an interrupt asked
    // for before its statement starts, this flag stays.
    std::atomic<bool> interrompida = false;
    bool concluida = false;
    Resultado resultado = Resultado::NaoVerificado;
    QString texto;
    std::thread linha;
};

namespace {

using Resultado = VerificacaoRapida::Resultado;

Resultado classificar(int codigo)
{
    switch (codigo & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Resultado::Danificado;
    default:
        return Resultado::NaoVerificado;
    }
}

// Stops the statement as soon as an interrupt was asked for.
int progresso(void* interrompida)
{
    return static_cast<const std::atomic<bool>*>(interrompida)->load() ? 1 : 0;
}

// Waits for a lock held by another connection up to about 2 s, in short
// naps, and no longer once an interrupt was asked for.
int ocupado(void* interrompida, int vezes)
{
    const auto* flag = static_cast<const std::atomic<bool>*>(interrompida);
    if (flag->load() || vezes >= 200)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return flag->load() ? 0 : 1;
}

} // namespace

VerificacaoRapida::VerificacaoRapida(const QString& caminho)
    : m_estado(std::make_shared<Estado>())
{
    m_estado->linha = std::thread([e = m_estado, arquivo = QFile::encodeName(caminho)] {
        sqlite3* c = nullptr;
        Resultado r = Resultado::NaoVerificado;
        QString texto;
        int rc = sqlite3_open_v2(arquivo.constData(), &c, SQLITE_OPEN_READONLY, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_busy_handler(c, ocupado, &e->interrompida);
            // At every check point: the first comes before the b-tree check, one
            // long instruction that only sqlite3_interrupt reaches.
            sqlite3_progress_handler(c, 1, progresso, &e->interrompida);
            {
                std::lock_guard trava(e->m);
                e->conexao = c;
            }
            sqlite3_stmt* q = nullptr;
            const bool jaInterrompida = e->interrompida;
            if (!jaInterrompida) {
                rc = sqlite3_prepare_v2(c, "PRAGMA quick_check", -1, &q, nullptr);
                if (rc == SQLITE_OK)
                    rc = sqlite3_step(q);
            }
            if (jaInterrompida) {
                texto = QString::fromUtf8(sqlite3_errstr(SQLITE_INTERRUPT));
            } else if (rc == SQLITE_ROW) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(q, 0));
                texto = QString::fromUtf8(t ? t : "");
                r = texto == QLatin1String("ok") ? Resultado::Integro : Resultado::Danificado;
            } else {
                texto = QString::fromUtf8(sqlite3_errmsg(c));
                r = classificar(sqlite3_extended_errcode(c));
            }
            sqlite3_finalize(q);
        } else {
            texto = QString::fromUtf8(c ? sqlite3_errmsg(c) : sqlite3_errstr(rc));
            r = classificar(c ? sqlite3_extended_errcode(c) : rc);
        }
        {
            std::lock_guard trava(e->m);
            e->conexao = nullptr;
            sqlite3_close_v2(c);
            e->resultado = r;
            e->texto = texto;
            e->concluida = true;
        }
        e->fim.notify_all();
    });
}

VerificacaoRapida::~VerificacaoRapida()
{
    interromper();
    if (m_estado->linha.joinable())
        m_estado->linha.join();
}

void VerificacaoRapida::interromper()
{
    std::lock_guard trava(m_estado->m);
    m_estado->interrompida = true;
    if (m_estado->conexao)
        sqlite3_interrupt(m_estado->conexao);
}

VerificacaoRapida::Resultado VerificacaoRapida::resultado(QString* texto)
{
    std::unique_lock trava(m_estado->m);
    m_estado->fim.wait(trava, [this] { return m_estado->concluida; });
    if (texto)
        *texto = m_estado->texto;
    return m_estado->resultado;
}

} // namespace db
