#include "shell/ProgramRecords.h"

#include "core/cRegistry.h"

namespace {

cRegistry registryValue(qint32 root, const QString &section, const QString &name, qint32 type)
{
    cRegistry value;
    value.setClassKey(root);
    value.setSectionKey(section);
    value.setValueKey(name);
    value.setValueType(type);
    return value;
}

} // namespace

void ProgramRecords::write(const QString &programPath)
{
    try {
        cRegistry connections = registryValue(cRegistry::HKEY_CURRENT_USER,
                                              QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
                                              QStringLiteral("MaxConnectionsPerServer"), cRegistry::REG_DWORD);
        if (connections.Value() != QVariant(10))
            connections.setValue(10);
    } catch (const cRegistry::Failure &) {
    }
    try {
        registryValue(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrin\\"), QStringLiteral("Path"),
                      cRegistry::REG_SZ)
            .setValue(programPath);
    } catch (const cRegistry::Failure &) {
    }
}

void ProgramRecords::addRunTime(qint64 seconds)
{
    try {
        cRegistry time = registryValue(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrin\\"),
                                       QStringLiteral("Time"), cRegistry::REG_DWORD);
        time.setValue(time.Value().toLongLong() + seconds);
    } catch (const cRegistry::Failure &) {
    }
}
