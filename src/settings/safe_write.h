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
    bool ok() const { return errorCode == 0; }
};

// Replaces the file at `path` with `bytes`:
// - the bytes go to a new temporary file in the same folder, written
//   unbuffered, every call checked, synced, then renamed over the target,
//   so a full disk or a failing write leaves the old file byte for byte;
// - a symlink in the target's place is replaced by the new file; what it
//   points to is never opened;
// - when no temporary file can be made beside it (a read-only folder) and
//   the target is a regular file, the file is rewritten in place, checked
//   and synced; on a failure there the old bytes are written back.
WriteOutcome writeFile(const QString &path, const QByteArray &bytes);

// The same, with the outcome as the message the user reads: empty on
// success, otherwise "Не удалось записать файл «…»: <reason>".
QString writeFileSafely(const QString &path, const QByteArray &bytes);

// The system's error number as a Russian text ("Нет места на устройстве").
QString systemReason(int errorCode);

} // namespace settings
