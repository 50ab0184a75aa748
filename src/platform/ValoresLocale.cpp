#include "ValoresLocale.h"

namespace {

bool letraDeCampo(QChar c)
{
    return c.isLetter() && c.unicode() < 128;
}

QString agrupamentoDe(const QLocale& l)
{
    const QString s = l.toString(1234567890123LL);
    const QString sep = l.groupSeparator();
    if (sep.isEmpty() || !s.contains(sep))
        return QStringLiteral("0;0");
    // Group sizes from the right.
    const QStringList partes = s.split(sep);
    QList<int> tamanhos;
    for (int i = partes.size() - 1; i >= 1; --i)
        tamanhos << partes.at(i).size();
    QStringList r;
    r << QString::number(tamanhos.value(0));
    if (tamanhos.size() > 1 && tamanhos.at(1) != tamanhos.at(0))
        r << QString::number(tamanhos.at(1));
    r << QStringLiteral("0");
    return r.join(u';');
}

QString digitosDe(const QLocale& l)
{
    const QString moeda = l.toCurrencyString(0.5);
    const QString dec = l.decimalPoint();
    const int p = moeda.lastIndexOf(dec);
    if (p < 0)
        return QStringLiteral("0");
    int n = 0;
    for (int i = p + dec.size(); i < moeda.size() && moeda[i].isDigit(); ++i)
        ++n;
    return QString::number(n);
}

QString separadorDataDe(const QString& formato)
{
    bool aspas = false;
    for (QChar c : formato) {
        if (c == u'\'') {
            aspas = !aspas;
            continue;
        }
        if (!aspas && !letraDeCampo(c))
            return QString(c);
    }
    return QString();
}

} // namespace

QString dataLongaSemDiaSemana(const QString& formatoQt)
{
    // Split into field runs and literal runs.
    struct Pedaco {
        bool campo;
        QString texto;
    };
    QList<Pedaco> pedacos;
    auto acrescentar = [&](bool campo, const QString& t) {
        if (!pedacos.isEmpty() && !pedacos.last().campo && !campo)
            pedacos.last().texto += t;
        else
            pedacos.append({campo, t});
    };
    for (int i = 0; i < formatoQt.size();) {
        const QChar c = formatoQt[i];
        if (c == u'\'') {
            int j = i + 1;
            QString lit;
            while (j < formatoQt.size()) {
                if (formatoQt[j] == u'\'') {
                    if (j + 1 < formatoQt.size() && formatoQt[j + 1] == u'\'') {
                        lit += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                lit += formatoQt[j++];
            }
            acrescentar(false, lit);
            i = j + 1;
        } else if (letraDeCampo(c)) {
            int j = i;
            while (j < formatoQt.size() && formatoQt[j] == c)
                ++j;
            pedacos.append({true, formatoQt.mid(i, j - i)});
            i = j;
        } else {
            acrescentar(false, QString(c));
            ++i;
        }
    }
    // Drop a leading weekday and the literal after it.
    if (!pedacos.isEmpty() && pedacos.first().campo && pedacos.first().texto.startsWith(QLatin1String("ddd"))) {
        pedacos.removeFirst();
        if (!pedacos.isEmpty() && !pedacos.first().campo)
            pedacos.removeFirst();
    }
    QString r;
    for (const auto& p : pedacos) {
        if (p.campo) {
            r += p.texto;
        } else {
            bool temLetra = false;
            for (QChar c : p.texto)
                temLetra = temLetra || c.isLetter();
            if (temLetra)
                r += u'\'' + QString(p.texto).replace(QLatin1String("'"), QLatin1String("''")) + u'\'';
            else
                r += p.texto;
        }
    }
    return r;
}

ValoresLocale lerValoresLocale(const QLocale& l)
{
    ValoresLocale v;
    v.dataCurta = l.dateFormat(QLocale::ShortFormat);
    v.separadorData = separadorDataDe(v.dataCurta);
    v.digitosDecimais = digitosDe(l);
    v.separadorDecimal = l.decimalPoint();
    v.separadorMilhar = l.groupSeparator();
    v.agrupamento = agrupamentoDe(l);
    v.dataLonga = dataLongaSemDiaSemana(l.dateFormat(QLocale::LongFormat));
    return v;
}
