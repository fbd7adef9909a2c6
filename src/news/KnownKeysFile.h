#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The keys of what each feed or page source has reported, kept across runs
// in the program data folder ("feeds-known.json", by source name), so that a
// restart repeats no item. A file that cannot be read counts as empty and is
// written anew.
class KnownKeysFile
{
public:
    static constexpr const char *FileName = "feeds-known.json";

    explicit KnownKeysFile(QString path);

    QHash<QString, QStringList> load() const;
    // Written whole, through a temporary file renamed over the old one.
    bool save(const QHash<QString, QStringList> &keys) const;

private:
    QString m_path;
};
