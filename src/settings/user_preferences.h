// What the program remembers per user beyond the settings file: the CSV
// convention last chosen for an export and the machine files opened or
// saved last. Kept as a small JSON file in the user's configuration folder
// ($XDG_CONFIG_HOME/gearfreq), written through the safe writer and read
// through the bounded reader; a file that cannot be read counts as empty.
//
//   {"internationalCsv": false, "recentFiles": ["/home/u/pump.gearfreq", …]}
//
// A convention never chosen is not written: the export then offers the one
// of the user's locale.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace settings {

inline constexpr int kRecentFileLimit = 9;

struct UserPreferences {
    std::optional<bool> internationalCsv; // none: never chosen
    QStringList recentFiles;              // newest first, at most kRecentFileLimit
    bool operator==(const UserPreferences &) const = default;
};

QByteArray preferencesBytes(const UserPreferences &preferences);
UserPreferences parsePreferences(const QByteArray &bytes);

QString preferencesPath(const QString &configFolder);
// The convention an export offers first: the one chosen last, else the one
// of a spreadsheet in the user's locale (a locale with a decimal point,
// other than the plain C one, is an international one).
bool internationalCsvFirst(const UserPreferences &preferences);
UserPreferences readPreferences(const QString &path);
// Empty on success, else the reason for the user.
QString writePreferences(const QString &path, const UserPreferences &preferences);

// The list with `file` first, named once, cut to the limit.
QStringList withRecent(QStringList recent, const QString &file);

} // namespace settings
