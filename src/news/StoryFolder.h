#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// One row per story in the all-news table: the same flash news often comes
// from several sources within minutes. Titles that are the same once
// normalised (brackets, punctuation, white space and width dropped, case
// folded), or nearly the same (character-bigram similarity of 0.9 or more),
// within 30 minutes, are one story. Nearly the same is not enough when the
// figures differ: "CPI 2.9%" and "CPI 3.1%" are two releases.
class StoryFolder
{
public:
    static constexpr int WindowMinutes = 30;
    static constexpr double Similar = 0.9;

    struct Story
    {
        int id = 0;
        QStringList others; // the labels of the sources that brought it again
    };

    // The story a new item belongs to when it is one seen already (its
    // source's label added to the others); nothing for a new story, which is
    // remembered under `id`.
    std::optional<Story> fold(int id, const QString &title, const QString &sourceLabel, const QDateTime &now);

    static QString normalised(const QString &title);
    static double similarity(const QString &a, const QString &b);

private:
    struct Seen
    {
        Story story;
        QString sourceLabel;
        QString title; // normalised
        QSet<QString> bigrams;
        QList<double> figures;
        QDateTime at;
    };
    static QSet<QString> bigramsOf(const QString &text);
    static QList<double> figuresOf(const QString &title);

    QList<Seen> m_seen;
};
