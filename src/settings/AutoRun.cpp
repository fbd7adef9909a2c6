#include "settings/AutoRun.h"

#include "core/cRegistry.h"

namespace {

cRegistry runValue()
{
    cRegistry value;
    value.setClassKey(cRegistry::HKEY_LOCAL_MACHINE);
    value.setSectionKey(cRegistry::runKeyPath());
    value.setValueKey(QStringLiteral("Tessaly"));
    value.setValueType(cRegistry::REG_SZ);
    return value;
}

} // namespace

AutoRun::AutoRun(QString programPath)
    : m_programPath(std::move(programPath))
{
}

bool AutoRun::isOn() const
{
    const QVariant stored = runValue().Value();
    return stored.isValid() && stored.toString().compare(m_programPath, Qt::CaseInsensitive) == 0;
}

void AutoRun::set(bool on) const
{
    cRegistry value = runValue();
    if (on) {
        // Written whole in one step: the entry replaces any older one at once.
        value.CreateKey();
        value.setValue(m_programPath);
        return;
    }
    // Nothing to remove is no failure; an entry that stays is.
    if (value.KeyExists())
        value.DeleteValue();
}
