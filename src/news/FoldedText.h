#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A text as keyword matching sees it: full-width letters and digits as
// narrow ones, letters in one case, Traditional Chinese as Simplified
// (through OpenCC, when its data is installed). It remembers where each of
// its characters came from, so a word found in it is marked where it
// stands in the text as written.
class FoldedText
{
public:
    explicit FoldedText(const QString &text);

    // The folded form of a word or a text.
    static QString fold(const QString &text);

    bool contains(const QString &foldedWord) const { return m_folded.contains(foldedWord); }
    // Every place the folded word stands, as the original text writes it.
    QStringList spans(const QString &foldedWord) const;

private:
    QString m_text;
    QString m_folded;
    QList<qsizetype> m_origin; // for each folded character, where it starts in m_text
};
