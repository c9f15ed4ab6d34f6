#pragma once

#include <QString>

// The per-user settings store: text values addressed by application, section and key, all
// three matched without regard to letter case.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the key does not exist (or the store cannot be
    // read). A key that exists with an empty value reads as the empty text.
    virtual QString read(const QString &application, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    // Stores value, creating section and key as needed and replacing an earlier value.
    // False when the store could not be written; the earlier contents are then unchanged.
    virtual bool save(const QString &application, const QString &section, const QString &key,
                      const QString &value)
        = 0;
    // Where an application's settings are kept, for messages that point the user at them.
    virtual QString location(const QString &application) const = 0;
};
