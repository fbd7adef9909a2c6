#include "news/StoryFolder.h"

#include <QRegularExpression>

namespace {

double dice(const QSet<QString> &a, const QSet<QString> &b)
{
    if (a.isEmpty() && b.isEmpty())
        return 1.0;
    qsizetype common = 0;
    for (const QString &bigram : a)
        common += b.contains(bigram) ? 1 : 0;
    return 2.0 * double(common) / double(a.size() + b.size());
}

} // namespace

QString StoryFolder::normalised(const QString &title)
{
    // NFKC folds full-width letters, digits and signs to their narrow forms.
    const QString folded = title.normalized(QString::NormalizationForm_KC).toCaseFolded();
    QString kept;
    kept.reserve(folded.size());
    for (const QChar c : folded) {
        if (!c.isPunct() && !c.isSpace() && !c.isSymbol())
            kept += c;
    }
    return kept;
}

QSet<QString> StoryFolder::bigramsOf(const QString &text)
{
    QSet<QString> bigrams;
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        bigrams.insert(text.mid(i, 2));
    return bigrams;
}

QList<double> StoryFolder::figuresOf(const QString &title)
{
    // By value: "150.00" and "150" are one figure.
    static const QRegularExpression number(QStringLiteral("\\d+(?:\\.\\d+)?"));
    QList<double> figures;
    const QString narrow = title.normalized(QString::NormalizationForm_KC);
    for (auto it = number.globalMatch(narrow); it.hasNext();)
        figures << it.next().captured().toDouble();
    return figures;
}

double StoryFolder::similarity(const QString &a, const QString &b)
{
    return dice(bigramsOf(normalised(a)), bigramsOf(normalised(b)));
}

std::optional<StoryFolder::Story> StoryFolder::fold(int id, const QString &title, const QString &sourceLabel,
                                                    const QDateTime &now)
{
    m_seen.removeIf([&now](const Seen &seen) { return seen.at.secsTo(now) > WindowMinutes * 60; });
    const QString text = normalised(title);
    if (text.isEmpty())
        return std::nullopt;
    const QSet<QString> bigrams = bigramsOf(text);
    const QList<double> figures = figuresOf(title);
    for (Seen &seen : m_seen) {
        if (seen.title != text && (seen.figures != figures || dice(seen.bigrams, bigrams) < Similar))
            continue;
        if (sourceLabel != seen.sourceLabel && !seen.story.others.contains(sourceLabel))
            seen.story.others << sourceLabel;
        return seen.story;
    }
    m_seen.append({{id, {}}, sourceLabel, text, bigrams, figures, now});
    return std::nullopt;
}
