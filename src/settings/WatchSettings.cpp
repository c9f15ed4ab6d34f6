#include "settings/WatchSettings.h"

#include "platform/SettingsStore.h"

namespace {
const QString kApplication = QStringLiteral("PIVEX");
const QString kSection = QStringLiteral("Watch");
const QString kKey = QStringLiteral("WakeOnChange");
} // namespace

WatchSettings::WatchSettings(SettingsStore &store)
    : m_store(store)
{
}

bool WatchSettings::wakeOnChange() const
{
    return m_store.read(kApplication, kSection, kKey, QStringLiteral("1")).trimmed()
        != QStringLiteral("0");
}

bool WatchSettings::setWakeOnChange(bool on)
{
    return m_store.save(kApplication, kSection, kKey,
                        on ? QStringLiteral("1") : QStringLiteral("0"));
}
