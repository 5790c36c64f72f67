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

// The file's bytes for a precision factor: the digits, a "-" for a negative
// value, and CR LF.
QByteArray formatPrecision(std::int32_t factor);

struct LoadResult {
    std::int32_t precisionFactor = 1;
    // Why the file could not be created, for the user; empty when all went well.
    QString error;
};

// Reads the factor; a file that cannot be opened, or is no regular file, is
// created holding 1 and read again, once. A text that is not an integer counts as 1.
LoadResult loadPrecision(const QString &programDir);

// Replaces the file with the factor. The new content goes to a temporary
// file in the same folder first, so a failed write keeps the old setting.
// Returns the reason for the user when the file could not be written.
QString savePrecision(const QString &programDir, std::int32_t factor);

} // namespace settings
