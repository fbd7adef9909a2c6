#pragma once

#include <QString>
#include <QVariant>

#include <stdexcept>

// A key-value store with the roots, key paths, value names and value types of
// the Windows registry. On Linux each root is an INI file (QSettings); values
// under the Run key are XDG autostart entries, so that writing the value
// "Tessaly" there really starts the program with the desktop session.
class cRegistry
{
public:
    static constexpr qint32 HKEY_CLASSES_ROOT = qint32(0x80000000u);
    static constexpr qint32 HKEY_CURRENT_USER = qint32(0x80000001u);
    static constexpr qint32 HKEY_LOCAL_MACHINE = qint32(0x80000002u);

    static constexpr qint32 REG_SZ = 1;
    static constexpr qint32 REG_EXPAND_SZ = 2;
    static constexpr qint32 REG_BINARY = 3;
    static constexpr qint32 REG_DWORD = 4;
    static constexpr qint32 REG_MULTI_SZ = 7;

    static QString runKeyPath();
    // What an autostart entry adds to the command: the program then knows
    // the session started it.
    static constexpr QLatin1StringView AutostartArgument{" --autostart"};

    // A failed write or key operation; `source` and the message follow the
    // program's fixed texts.
    class Failure : public std::runtime_error
    {
    public:
        Failure(const QString &source, const QString &text);
        QString source() const { return m_source; }
        QString text() const { return m_text; }

    private:
        QString m_source;
        QString m_text;
    };

    // Where the stores live. Defaults: the user's XDG config folder for the
    // current-user root and autostart entries, /etc/xdg for the machine roots.
    static void setLocations(const QString &userDir, const QString &machineDir, const QString &autostartDir);
    static void resetLocations();

    qint32 ClassKey() const { return m_classKey; }
    void setClassKey(qint32 root) { m_classKey = root; }
    QString SectionKey() const { return m_sectionKey; }
    void setSectionKey(const QString &path) { m_sectionKey = path; }
    QString ValueKey() const { return m_valueKey; }
    void setValueKey(const QString &name) { m_valueKey = name; }
    qint32 ValueType() const { return m_valueType; }
    void setValueType(qint32 type) { m_valueType = type; }
    QVariant Default() const { return m_default; }
    void setDefault(const QVariant &value) { m_default = value; }
    QString Machine() const { return m_machine; }
    void setMachine(const QString &name) { m_machine = name; }

    // Never throws: a value that cannot be read answers Default.
    QVariant Value() const;
    // Throws Failure when the key cannot be created or the value not written.
    void setValue(const QVariant &value);
    // Throws Failure when the key cannot be opened; false when the value is absent.
    bool DeleteValue();
    bool KeyExists() const;
    // True, or a Failure: "Failed to create registry Key" / "Failed to delete registry Key".
    bool CreateKey();
    bool DeleteKey();

private:
    QString storeFile() const;
    QString groupPath() const;
    bool isRunKey() const;
    QString autostartFile() const;
    QString rootText() const;
    [[noreturn]] void fail(const QString &text) const;

    QVariant readAutostart() const;
    void writeAutostart(const QString &command);

    qint32 m_classKey = HKEY_CURRENT_USER;
    QString m_sectionKey;
    QString m_valueKey;
    qint32 m_valueType = REG_SZ;
    QVariant m_default;
    QString m_machine;
};
