#pragma once

#include "platform/SettingsStore.h"

// The settings store as one INI text file per application in the user's configuration
// directory: $XDG_CONFIG_HOME when it holds an absolute path, otherwise ~/.config. The file is
// named after the application in case-folded form, so "PIVEX" lives in ~/.config/pivex.ini.
//
//   [Option]
//   Interval=1000
//
// Names match without regard to case. Values are UTF-8 text kept exactly: one with blanks at
// either end, or one that begins and ends with a double quote, is written inside double quotes,
// which a read removes again, so hand-written "Key = value" lines read as "value".
//
// A save rewrites the file through a temporary file in the same directory, written to the disk
// (fsync) and renamed over the old one, whose permission bits it takes; the directory is synced
// after the rename. A crash, a full disk or a read-only directory leaves the old file as it was,
// and save returns false. Saves are serialised across processes by a lock file beside the
// store (waiting up to 5 s for another saver); a folder in the lock file's place fails the save
// at once. Lines it does not understand (comments, other sections, other keys,
// binary junk) are written back byte for byte; only the saved key's line changes or is added.
//
// Edge cases: a key with an empty value reads as empty, not as the default; when a section or
// key appears twice, the first occurrence is read and replaced; an unreadable file reads as
// defaults and refuses saves, so its contents are never overwritten blindly; names that the
// file could not hold (empty, blanks at either end, line breaks, "]" in a section, "=" in a
// key) and values with line breaks are refused: read gives the default, save gives false.
class IniSettingsStore : public SettingsStore
{
public:
    // Keeps the files in the user's configuration directory as it is set at construction.
    IniSettingsStore();
    explicit IniSettingsStore(const QString &directory);

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    bool save(const QString &application, const QString &section, const QString &key,
              const QString &value) override;

    QString location(const QString &application) const override { return filePath(application); }

    // The file holding an application's settings, whether or not it exists yet; empty for an
    // empty application name.
    QString filePath(const QString &application) const;

    static QString userConfigDirectory();

private:
    static bool replaceWhole(const QString &path, const QByteArray &data);

    QString m_directory;
};
