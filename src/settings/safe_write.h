// The one way the program writes a file: the whole new content or, when
// anything fails, the old file as it was and a reason for the user.
#pragma once

#include <QByteArray>
#include <QString>

namespace settings {

// The outcome of a write: empty errorCode and reason on success.
struct WriteOutcome {
    int errorCode = 0; // the system's error number of the failing step
    QString reason;    // that error in Russian, for the user
    // The folder took no new file (read-only, no permission): nothing was
    // written, and another folder is the way out.
    bool folderRefused = false;
    bool ok() const { return errorCode == 0; }
};

// Whether a file may be rewritten where it stands when its folder takes no
// new file. Only the settings file does: it is a few bytes written at once.
// A larger file rewritten in place can be left half written by a crash.
enum class InPlace { Refused, Allowed };

// Replaces the file at `path` with `bytes`:
// - the bytes go to a new temporary file in the same folder, written
//   unbuffered, every call checked, synced, then renamed over the target,
//   so a full disk, a failing write or a killed process leaves the old file
//   byte for byte;
// - the temporary file has a short name of its own (".~gf", a hash of the
//   target's name, six random characters), locked while it is written;
//   those of the same target that a killed writer left behind are removed
//   at the next write;
// - a symlink in the target's place is replaced by the new file; what it
//   points to is never opened;
// - when no temporary file can be made beside it (a read-only folder) and
//   `inPlace` allows it and the target is a regular file, the file is
//   rewritten in place, checked and synced; on a failure there the old bytes
//   are written back. Otherwise the outcome says folderRefused.
WriteOutcome writeFile(const QString &path, const QByteArray &bytes,
                       InPlace inPlace = InPlace::Refused);

// The same, with the outcome as the message the user reads: empty on
// success, otherwise "Не удалось записать файл «…»: <reason>".
QString writeFileSafely(const QString &path, const QByteArray &bytes);

// The message for a failed write of `path`: "Не удалось записать файл «…»:
// <reason>", and for a folder that takes no new file, what to do instead.
QString writeFailureText(const QString &path, const WriteOutcome &outcome);

// The prefix of the temporary files of a target ("." "~gf" and eight hex
// digits of its name's hash); their whole name adds "." and six characters.
QString temporaryPrefix(const QString &targetFileName);

// Temporary files older than this, unlocked, are a killed writer's.
inline constexpr int kStaleTemporarySeconds = 2;

// The system's error number as a Russian text ("Нет места на устройстве").
QString systemReason(int errorCode);

} // namespace settings
