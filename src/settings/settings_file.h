// The settings file VeviVerezoz.bmp in the folder the program was started
// from: one line holding the precision factor as decimal digits and CR LF.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace settings {

inline constexpr char kFileName[] = "VeviVerezoz.bmp";

QString settingsPath(const QString &programDir);

// Reads the first integer of the file's bytes: blanks, tabs and line breaks
// are skipped, then a run of at most 32 other characters must be a signed
// decimal integer that fits 32 bits; whatever follows is ignored. The end of
// the file before any such run reads as 0. nullopt when the run is not such
// an integer.
std::optional<std::int32_t> parsePrecision(const QByteArray &content);

// The same for the bounded prefix the loader reads: when the number would
// lie past it (more than 16 MiB of blanks, or a longer file of nothing but
// blanks), there is no setting: nullopt.
std::optional<std::int32_t> parsePrecisionPrefix(const QByteArray &prefix, bool truncated);

// The file's bytes for a precision factor: the digits, a "-" for a negative
// value, and CR LF.
QByteArray formatPrecision(std::int32_t factor);

struct LoadResult {
    std::int32_t precisionFactor = 1;
    // Why the file could not be created, for the user; empty when all went well.
    QString error;
};

// Reads the factor from a bounded prefix of the file; a file that cannot be
// opened, or is no regular file (a symlink, a pipe), is replaced by one
// holding 1 and read again, once. A text that is not an integer counts as 1.
LoadResult loadPrecision(const QString &programDir);

// Replaces the file with the factor through the safe writer, so a failed
// write keeps the old setting byte for byte and a symlink is replaced, not
// followed. Returns the message for the user when the file could not be
// written.
QString savePrecision(const QString &programDir, std::int32_t factor);

} // namespace settings
