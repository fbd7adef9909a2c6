#include "core/cRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

struct Locations
{
    QString user;
    QString machine;
    QString autostart;
};

Locations defaultLocations()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {config + QStringLiteral("/Tessaly/registry"), QStringLiteral("/etc/xdg/Tessaly/registry"),
            config + QStringLiteral("/autostart")};
}

Locations &locations()
{
    static Locations current = defaultLocations();
    return current;
}

QString normalisedSection(const QString &section)
{
    QStringList steps = section.split(u'\\', Qt::SkipEmptyParts);
    for (QString &step : steps)
        step.replace(u'/', u'_');
    return steps.join(u'/');
}

QString expandEnvironment(const QString &text)
{
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString out;
    qsizetype last = 0;
    for (const QRegularExpressionMatch &m : variable.globalMatch(text)) {
        out += text.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        out += env.contains(name) ? env.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

// An INI file has no empty groups: a marker value keeps a key in existence
// after its last value is deleted, as a registry key would stay.
QString keyMarker()
{
    return QStringLiteral("/.key");
}

QString cutAtZero(const QString &text)
{
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    return zero < 0 ? text : text.left(zero);
}

// Quoting of an Exec= argument of a desktop entry, then the entry's own escapes.
QString desktopExecQuoted(const QString &program)
{
    static const QRegularExpression reserved(QStringLiteral("[\\s\"'\\\\><~|&;$*?#()`]"));
    QString arg = program;
    if (reserved.match(program).hasMatch()) {
        arg.clear();
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                arg += u'\\';
            arg += c;
        }
        arg = u'"' + arg + u'"';
    }
    // "%" starts a field code; a literal one is doubled.
    return arg.replace(u'%', QStringLiteral("%%")).replace(u'\\', QStringLiteral("\\\\"));
}

QString desktopExecUnquoted(const QString &value)
{
    QString exec;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            exec += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
        } else {
            exec += value.at(i);
        }
    }
    QStringList args;
    QString current;
    bool quoted = false;
    bool inArg = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'%' && i + 1 < exec.size()) {
            // "%%" is a percent sign; any other field code stands for nothing here.
            if (exec.at(++i) == u'%') {
                current += u'%';
                inArg = true;
            }
        } else if (quoted) {
            if (c == u'\\' && i + 1 < exec.size())
                current += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u'"') {
            quoted = inArg = true;
        } else if (c.isSpace()) {
            if (inArg)
                args << current;
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg)
        args << current;
    return args.join(u' ');
}

} // namespace

cRegistry::Failure::Failure(const QString &source, const QString &text)
    : std::runtime_error(text.toStdString())
    , m_source(source)
    , m_text(text)
{
}

QString cRegistry::runKeyPath()
{
    return QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

void cRegistry::setLocations(const QString &userDir, const QString &machineDir, const QString &autostartDir)
{
    locations() = {userDir, machineDir, autostartDir};
}

void cRegistry::resetLocations()
{
    locations() = defaultLocations();
}

QString cRegistry::rootText() const
{
    return QString::number(m_classKey);
}

void cRegistry::fail(const QString &text) const
{
    throw Failure(QCoreApplication::applicationName() + QStringLiteral(".cRegistry"), text);
}

QString cRegistry::storeFile() const
{
    switch (m_classKey) {
    case HKEY_CURRENT_USER:
        return locations().user + QStringLiteral("/HKEY_CURRENT_USER.ini");
    case HKEY_LOCAL_MACHINE:
        return locations().machine + QStringLiteral("/HKEY_LOCAL_MACHINE.ini");
    case HKEY_CLASSES_ROOT:
        return locations().machine + QStringLiteral("/HKEY_CLASSES_ROOT.ini");
    default:
        return {};
    }
}

QString cRegistry::groupPath() const
{
    return normalisedSection(m_sectionKey);
}

bool cRegistry::isRunKey() const
{
    return (m_classKey == HKEY_CURRENT_USER || m_classKey == HKEY_LOCAL_MACHINE)
        && groupPath().compare(normalisedSection(runKeyPath()), Qt::CaseInsensitive) == 0;
}

QString cRegistry::autostartFile() const
{
    QString name = m_valueKey;
    name.replace(u'/', u'_');
    return locations().autostart + u'/' + name + QStringLiteral(".desktop");
}

QVariant cRegistry::readAutostart() const
{
    QFile file(autostartFile());
    if (m_valueKey.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return m_default;
    // An entry the session is told to skip starts nothing: no value.
    QString command;
    bool found = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[') && line != QStringLiteral("[Desktop Entry]"))
            break;
        if (line == QStringLiteral("Hidden=true") || line == QStringLiteral("X-GNOME-Autostart-enabled=false"))
            return m_default;
        if (!found && line.startsWith(QStringLiteral("Exec="))) {
            QString exec = line.mid(5);
            if (exec.endsWith(AutostartArgument))
                exec.chop(AutostartArgument.size());
            command = desktopExecUnquoted(exec);
            found = true;
        }
    }
    return found ? QVariant(command) : m_default;
}

void cRegistry::writeAutostart(const QString &command)
{
    if (!QDir().mkpath(locations().autostart))
        fail(QStringLiteral("Failed to create registry Key: '%1',Section: '%2'").arg(rootText(), m_sectionKey));
    QSaveFile file(autostartFile());
    // The session starts the program with a mark, so it comes up in the tray.
    const QByteArray entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(m_valueKey, desktopExecQuoted(command) + AutostartArgument)
                                 .toUtf8();
    if (m_valueKey.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size()
        || !file.commit()) {
        fail(QStringLiteral("Failed to set registry value Key: '%1',Section: '%2',Key: '%3' to value: '%4'")
                 .arg(rootText(), m_sectionKey, m_valueKey, command));
    }
}

QVariant cRegistry::Value() const
{
    if (!m_machine.isEmpty())
        return m_default;
    if (isRunKey())
        return readAutostart();
    const QString file = storeFile();
    if (file.isEmpty() || !QFileInfo::exists(file))
        return m_default;
    QSettings store(file, QSettings::IniFormat);
    const QStringList stored = store.value(groupPath() + u'/' + m_valueKey).toStringList();
    if (stored.isEmpty())
        return m_default;

    const QString type = stored.front();
    const QString data = stored.size() > 1 ? stored.at(1) : QString();
    if (type == QStringLiteral("sz"))
        return cutAtZero(data);
    if (type == QStringLiteral("expand_sz"))
        return expandEnvironment(cutAtZero(data));
    if (type == QStringLiteral("dword"))
        return static_cast<qint32>(data.toLongLong());
    if (type == QStringLiteral("multi_sz"))
        return QStringList(stored.begin() + 1, stored.end());
    return QByteArray::fromHex(data.toLatin1());
}

void cRegistry::setValue(const QVariant &value)
{
    if (isRunKey() && m_machine.isEmpty()) {
        writeAutostart(value.toString());
        return;
    }
    const QString file = storeFile();
    if (!m_machine.isEmpty() || file.isEmpty())
        fail(QStringLiteral("Failed to create registry Key: '%1',Section: '%2'").arg(rootText(), m_sectionKey));
    const QString failedWrite = QStringLiteral("Failed to set registry value Key: '%1',Section: '%2',Key: '%3' to value: '%4'")
                                    .arg(rootText(), m_sectionKey, m_valueKey, value.toString());
    // A store the user may not write (the machine's, for anyone but root): the value is not written.
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        fail(failedWrite);

    QStringList stored;
    switch (m_valueType) {
    case REG_SZ:
        stored = {QStringLiteral("sz"), value.toString()};
        break;
    case REG_EXPAND_SZ:
        stored = {QStringLiteral("expand_sz"), value.toString()};
        break;
    case REG_DWORD:
        stored = {QStringLiteral("dword"), QString::number(static_cast<qint32>(value.toLongLong()))};
        break;
    case REG_MULTI_SZ:
        stored = QStringList{QStringLiteral("multi_sz")} + value.toStringList();
        break;
    default:
        stored = {QStringLiteral("hex"), QString::fromLatin1(value.toByteArray().toHex())};
        break;
    }
    QSettings store(file, QSettings::IniFormat);
    store.setValue(groupPath() + u'/' + m_valueKey, stored);
    store.setValue(groupPath() + keyMarker(), QStringList{QStringLiteral("sz")});
    store.sync();
    if (store.status() != QSettings::NoError)
        fail(failedWrite);
}

bool cRegistry::DeleteValue()
{
    if (!KeyExists()) {
        fail(QStringLiteral("Failed to open key '%1',Section: '%2' for delete access").arg(rootText(), m_sectionKey));
    }
    if (isRunKey()) {
        if (!QFileInfo::exists(autostartFile()))
            return false;
        // An entry left behind would still start the program with the session.
        if (!QFile::remove(autostartFile()))
            fail(QStringLiteral("Failed to delete value '%1' of key '%2'").arg(m_valueKey, m_sectionKey));
        return true;
    }
    QSettings store(storeFile(), QSettings::IniFormat);
    const QString key = groupPath() + u'/' + m_valueKey;
    if (!store.contains(key))
        return false;
    store.remove(key);
    store.sync();
    return store.status() == QSettings::NoError;
}

bool cRegistry::KeyExists() const
{
    if (!m_machine.isEmpty())
        return false;
    if (isRunKey())
        return QFileInfo(locations().autostart).isDir();
    const QString file = storeFile();
    if (file.isEmpty() || !QFileInfo::exists(file))
        return false;
    if (groupPath().isEmpty())
        return true;
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(groupPath());
    return !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
}

bool cRegistry::CreateKey()
{
    const QString failed = QStringLiteral("Failed to create registry Key: '%1',Section: '%2'").arg(rootText(), m_sectionKey);
    if (!m_machine.isEmpty())
        fail(failed);
    if (isRunKey()) {
        if (!QDir().mkpath(locations().autostart))
            fail(failed);
        return true;
    }
    if (KeyExists())
        return true;
    const QString file = storeFile();
    if (file.isEmpty() || !QDir().mkpath(QFileInfo(file).absolutePath()))
        fail(failed);
    QSettings store(file, QSettings::IniFormat);
    store.setValue(groupPath() + keyMarker(), QStringList{QStringLiteral("sz")});
    store.sync();
    if (store.status() != QSettings::NoError)
        fail(failed);
    return true;
}

bool cRegistry::DeleteKey()
{
    // The autostart folder belongs to the whole desktop session, not to us.
    if (!m_machine.isEmpty() || isRunKey() || !KeyExists())
        fail(QStringLiteral("Failed to delete registry Key: '%1',Section: '%2'").arg(rootText(), m_sectionKey));
    QSettings store(storeFile(), QSettings::IniFormat);
    store.remove(groupPath());
    store.sync();
    if (store.status() != QSettings::NoError)
        fail(QStringLiteral("Failed to delete registry Key: '%1',Section: '%2'").arg(rootText(), m_sectionKey));
    return true;
}
