#pragma once

class SettingsStore;

// Whether a change in a watched file is shown at once (a change wakes the program) or at the
// next tick of the polling timer, kept in a section of its own beside the four options:
//
//   [Watch]
//   WakeOnChange=1
//
// On unless the stored value is "0": a missing or unreadable value keeps the default.
class WatchSettings
{
public:
    explicit WatchSettings(SettingsStore &store);

    bool wakeOnChange() const;
    // False when the store refused; the earlier value stays stored then.
    bool setWakeOnChange(bool on);

private:
    SettingsStore &m_store;
};
