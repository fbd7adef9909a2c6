#include "news/KnownKeysFile.h"

#include "core/Logging.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

KnownKeysFile::KnownKeysFile(QString path)
    : m_path(std::move(path))
{
}

QHash<QString, QStringList> KnownKeysFile::load() const
{
    QHash<QString, QStringList> keys;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    const QJsonObject sources = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        QStringList list;
        for (const QJsonValue &key : it.value().toArray()) {
            if (key.isString())
                list << key.toString();
        }
        keys.insert(it.key(), list);
    }
    return keys;
}

bool KnownKeysFile::save(const QHash<QString, QStringList> &keys) const
{
    QJsonObject sources;
    for (auto it = keys.begin(); it != keys.end(); ++it)
        sources.insert(it.key(), QJsonArray::fromStringList(it.value()));
    const QByteArray bytes = QJsonDocument(sources).toJson(QJsonDocument::Compact);
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qCWarning(lcNews) << "cannot keep the feeds' known items in" << m_path << file.errorString();
    return false;
}
