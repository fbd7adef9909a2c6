#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away program folder: the place a test puts tavrin.xml, program files
// and whatever else the program expects next to its executable.
class TempProgramFolder
{
public:
    TempProgramFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes (or replaces) a file; answers its full path.
    QString writeFile(const QString &name, const QByteArray &content) const;
    QByteArray readFile(const QString &name) const;
    // The repository's default tavrin.xml.
    QString copyDefaultConfig() const;
    // The default tavrin.xml with every news source at `base` + "/" + its name
    // and the calendar and the broker at `base`, so that nothing a test starts reaches past
    // this machine.
    QString copyLocalConfig(const QString &base = QStringLiteral("http://127.0.0.1:9")) const;
    // A copy of a built program (from the build's program folder) under `name`.
    QString copyProgram(const QString &program, const QString &name = {}) const;

    static QByteArray defaultConfig();

private:
    QTemporaryDir m_dir;
};
