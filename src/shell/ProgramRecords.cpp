#include "shell/ProgramRecords.h"

#include "core/cRegistry.h"

namespace {

// The program's own key, in the machine's and in the user's part.
const QString ProgramKey = QStringLiteral("Software\\Tavrin\\");

cRegistry registryValue(qint32 root, const QString &section, const QString &name, qint32 type)
{
    cRegistry value;
    value.setClassKey(root);
    value.setSectionKey(section);
    value.setValueKey(name);
    value.setValueType(type);
    return value;
}

cRegistry runTimeValue(qint32 root)
{
    return registryValue(root, ProgramKey, QStringLiteral("Time"), cRegistry::REG_DWORD);
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
        registryValue(cRegistry::HKEY_LOCAL_MACHINE, ProgramKey, QStringLiteral("Path"),
                      cRegistry::REG_SZ)
            .setValue(programPath);
    } catch (const cRegistry::Failure &) {
    }
}

void ProgramRecords::addRunTime(qint64 seconds)
{
    // The machine's count where this user may write it, else the user's own.
    for (const qint32 root : {cRegistry::HKEY_LOCAL_MACHINE, cRegistry::HKEY_CURRENT_USER}) {
        try {
            cRegistry time = runTimeValue(root);
            time.setValue(time.Value().toLongLong() + seconds);
            return;
        } catch (const cRegistry::Failure &) {
        }
    }
}
