#include "quotes/QuoteScraper.h"

#include <QRegularExpression>

const QList<QuoteScraper::Pair> &QuoteScraper::pairs()
{
    static const QList<Pair> all{
        {QStringLiteral("bidElem0"), QStringLiteral("EURUSD"), 5}, {QStringLiteral("bidElem3"), QStringLiteral("GBPUSD"), 5},
        {QStringLiteral("bidElem2"), QStringLiteral("USDJPY"), 3}, {QStringLiteral("bidElem1"), QStringLiteral("USDCHF"), 5},
        {QStringLiteral("bidElem5"), QStringLiteral("AUDUSD"), 5}, {QStringLiteral("bidElem8"), QStringLiteral("NZDUSD"), 5},
        {QStringLiteral("bidElem4"), QStringLiteral("USDCAD"), 5}, {QStringLiteral("bidElem7"), QStringLiteral("GBPJPY"), 3},
    };
    return all;
}

QString QuoteScraper::leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?"));
    const QRegularExpressionMatch match = number.match(text);
    if (match.captured(2).isEmpty() && match.captured(3).isEmpty())
        return {};
    QString out = match.captured(1) == QStringLiteral("-") ? QStringLiteral("-") : QString();
    out += match.captured(2).isEmpty() ? QStringLiteral("0") : match.captured(2);
    if (!match.captured(3).isEmpty())
        out += u'.' + match.captured(3);
    return out;
}

bool QuoteScraper::isZero(const QString &number)
{
    for (const QChar c : number) {
        if (c.isDigit() && c != u'0')
            return false;
    }
    return true;
}

QString QuoteScraper::formatted(const QString &number, int decimals)
{
    // Rounded on the decimal digits themselves, so no binary fraction gets in the way.
    const bool negative = number.startsWith(u'-');
    const QString unsignedText = negative ? number.mid(1) : number;
    const qsizetype point = unsignedText.indexOf(u'.');
    QString whole = point < 0 ? unsignedText : unsignedText.left(point);
    QString fraction = point < 0 ? QString() : unsignedText.mid(point + 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    const bool roundUp = fraction.size() > decimals && fraction.at(decimals) >= u'5';
    fraction = fraction.left(decimals).leftJustified(decimals, u'0');
    QString digits = whole + fraction;
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits.at(i) == u'9'; --i)
            digits[i] = u'0';
        if (i < 0)
            digits.prepend(u'1');
        else
            digits[i] = QChar(digits.at(i).unicode() + 1);
    }
    QString out = decimals > 0 ? digits.left(digits.size() - decimals) + u'.' + digits.right(decimals) : digits;
    // Leading zeros of the whole part go, but one.
    while (out.size() > 1 && out.at(0) == u'0' && out.at(1).isDigit())
        out.remove(0, 1);
    return negative && !isZero(out) ? u'-' + out : out;
}

void QuoteScraper::documentLoaded()
{
    m_snapshot = Snapshot::None;
    m_interval = ReadingMs;
}

QList<QuoteScraper::Report> QuoteScraper::tick(const QString &tableText,
                                               const std::function<QString(const QString &elementId)> &cellText)
{
    if (m_snapshot == Snapshot::None) {
        m_waitingText = tableText;
        m_snapshot = Snapshot::Waiting;
        return {};
    }
    if (m_snapshot == Snapshot::Waiting) {
        if (tableText != m_waitingText)
            m_snapshot = Snapshot::Reading;
        return {};
    }
    if (tableText == m_lastParsed)
        return {};
    m_lastParsed = tableText;
    QList<Report> reports;
    bool anyZero = false;
    for (const Pair &pair : pairs()) {
        const QString number = leadingNumber(cellText(pair.elementId));
        if (isZero(number)) {
            // Unavailable: back to waiting for the table to change, and no price for this pair.
            anyZero = true;
            m_snapshot = Snapshot::None;
            m_closed = true;
            reports.append({Report::Close, pair.symbol, {}, {}});
            continue;
        }
        const QString shown = formatted(number, pair.decimals);
        reports.append({Report::Price, pair.symbol, shown.left(shown.size() - 1), shown.right(1)});
    }
    // A complete pass without a zero after an unavailable one: the quotes are back.
    if (!anyZero && m_closed) {
        m_closed = false;
        reports.append({Report::Recovered, {}, {}, {}});
    }
    if (!m_initialized) {
        m_initialized = true;
        m_interval = SteadyMs;
        reports.append({Report::Initialize, {}, {}, {}});
    }
    return reports;
}
