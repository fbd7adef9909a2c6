#pragma once

#include "core/cls_Config.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The keyword alerts as the settings dialog edits them: every Alert element
// of the configuration in its order, with the attributes the dialog does
// not edit kept as they are.
class AlertList
{
public:
    // A rule's fields as the editor shows them.
    struct Rule
    {
        QString words;   // any of them, separated by blanks
        QString except;  // none of them
        QString sources; // source names separated by commas; empty: all
        QString sound;   // a file of the Sound folder; empty: none
        bool checked = true;
    };

    void read(const cls_Config &config);
    qsizetype size() const { return m_entries.size(); }
    // The list's line for a rule.
    QString line(qsizetype index) const;
    Rule fields(qsizetype index) const;
    // Adds a rule, or replaces the index-th, its sources checked against
    // the names of the sources there are; answers why not (empty: done).
    QString add(const Rule &rule, const QStringList &sourceNames);
    QString change(qsizetype index, const Rule &rule, const QStringList &sourceNames);
    void remove(qsizetype index);
    bool write(cls_Config &config) const;

private:
    // The rule as stored, its words and names tidied; why it cannot be (empty: it can).
    static QString stored(const Rule &rule, const QStringList &sourceNames, QHash<QString, QString> &entry);
    static const QStringList &editedAttributes();

    QList<QHash<QString, QString>> m_entries;
};
