#include "news/FoldedText.h"

#include <QLoggingCategory>
#include <QMutex>

#include <opencc/opencc.h>

Q_LOGGING_CATEGORY(lcFolding, "tessaly.news.folding", QtWarningMsg)

namespace {

// Traditional to Simplified, characters and phrases. The converter is
// opened once; it is used under a lock, as OpenCC does not promise more.
class ChineseForms
{
public:
    static ChineseForms &instance()
    {
        static ChineseForms forms;
        return forms;
    }
    bool available() const { return m_converter != reinterpret_cast<opencc_t>(-1); }
    QString simplified(const QString &text)
    {
        if (!available() || text.isEmpty())
            return text;
        const QByteArray utf8 = text.toUtf8();
        QMutexLocker lock(&m_lock);
        char *converted = opencc_convert_utf8(m_converter, utf8.constData(), size_t(utf8.size()));
        if (!converted)
            return text;
        QString result = QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
        return result;
    }

private:
    ChineseForms()
        : m_converter(opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP))
    {
        if (!available())
            qCInfo(lcFolding) << "OpenCC's data is missing: Traditional and Simplified forms are matched as written";
    }
    ~ChineseForms()
    {
        if (available())
            opencc_close(m_converter);
    }
    opencc_t m_converter;
    QMutex m_lock;
};

QString foldWidthAndCase(const QString &text)
{
    // NFKC folds full-width letters and digits to their narrow forms.
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

} // namespace

QString FoldedText::fold(const QString &text)
{
    return ChineseForms::instance().simplified(foldWidthAndCase(text));
}

FoldedText::FoldedText(const QString &text)
    : m_text(text)
{
    // Width and case one character at a time, noting where each came from.
    QString narrow;
    QList<qsizetype> origin;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = foldWidthAndCase(text.mid(i, length));
        narrow += piece;
        origin.insert(origin.size(), piece.size(), i);
        i += length;
    }
    // Whole, so phrases convert as phrases; one character at a time only
    // when that changed the length and the places would no longer match.
    ChineseForms &forms = ChineseForms::instance();
    m_folded = forms.simplified(narrow);
    m_origin = origin;
    if (m_folded.size() == narrow.size())
        return;
    m_folded.clear();
    m_origin.clear();
    for (qsizetype i = 0; i < narrow.size(); ++i) {
        const QString piece = forms.simplified(QString(narrow.at(i)));
        m_folded += piece;
        m_origin.insert(m_origin.size(), piece.size(), origin.at(i));
    }
}

QStringList FoldedText::spans(const QString &foldedWord) const
{
    QStringList found;
    if (foldedWord.isEmpty())
        return found;
    for (qsizetype at = m_folded.indexOf(foldedWord); at >= 0; at = m_folded.indexOf(foldedWord, at + foldedWord.size())) {
        const qsizetype begin = m_origin.at(at);
        const qsizetype last = m_origin.at(at + foldedWord.size() - 1);
        // The last folded character's source character, whole.
        qsizetype end = last + 1;
        while (end < m_text.size() && m_text.at(end).isLowSurrogate())
            ++end;
        const QString span = m_text.mid(begin, end - begin);
        if (!found.contains(span))
            found << span;
    }
    return found;
}
