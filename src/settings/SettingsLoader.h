#pragma once

#include <QString>

class SettingsStore;
class SettingsTarget;

// How a load or a save went: the key at which it stopped, or none.
struct SettingsResult
{
    QString failedKey; // "Interval", "Encode", "FontName" or "FontSize"; empty on success

    bool ok() const { return failedKey.isEmpty(); }
};

// Moves the four persistent settings between the store (application "PIVEX", section
// "Option") and the running program.
//
// Loading reads Interval (default 1000), Encode (0), FontName ("Terminal") and FontSize (14) in
// that order and applies each at once. Numbers are read as decimal text, a fraction rounded
// half to even (FontSize 10.5 -> 10, 11.5 -> 12), and must fit 16 bits (Interval, FontSize) or
// 32 bits (Encode). Values are applied without any range check of their own.
//
// Edge cases: a value that is not a number, an empty value of a numeric key or one out of
// range stops the load at that key; the values before it are already applied and the ones
// after it are not read. Saving writes the same keys in the same order, FontSize with up to
// four fraction digits and none for a whole size (14, 10.5); it stops at the first key the
// store refuses, earlier keys staying saved.
class SettingsLoader
{
public:
    explicit SettingsLoader(SettingsStore &store);

    SettingsResult LoadSettings(SettingsTarget &target) const;
    SettingsResult SaveSettings(const SettingsTarget &target);

    // The size as it is stored: "14", "10.5", "10.1235".
    static QString formatFontSize(double points);

    // What the user is told when a load stopped at a broken value: the file, the key, and which
    // values the program starts with at their built-in defaults, the broken one and every one
    // after it (those before it came from the file).
    static QString brokenValueMessage(const SettingsResult &result, const QString &location);

private:
    SettingsStore &m_store;
};
