// The recovery file: the machine's unsaved work, kept where a crash or a
// power cut cannot take it. The program writes it through the safe writer
// every minute while there are unsaved changes and when it closes with
// unsaved changes; the next start offers it; a clean save or an explicit
// discard removes it. Each run writes a file of its own
// ("recovery-<start>-<process>.json" in the user's data folder), so that two
// runs side by side, or a run after a crash, never overwrite each other's.
//
//   {
//     "format": "gearfreq-recovery",
//     "version": 1,
//     "file": "/home/user/pump.json",
//     "savedAt": "2026-12-08T21:40:00Z",
//     "machine": { …the machine file's object… }
//   }
//
// "file" is the machine file the work came from ("" for a machine never
// saved), "savedAt" when the recovery was written, in UTC.
#pragma once

#include "machine/machine_file.h"

#include <QDateTime>

namespace machine {

inline constexpr char kRecoveryFormat[] = "gearfreq-recovery";

struct Recovery {
    MachineState state;
    QString file;
    QDateTime savedAt;
    bool operator==(const Recovery &) const = default;
};

QByteArray recoveryBytes(const Recovery &recovery);

struct RecoveryRead {
    std::optional<Recovery> recovery;
    QString error; // why a file that is there cannot be offered
};
RecoveryRead parseRecovery(const QByteArray &bytes);
// Nothing and no error when there is no recovery file.
RecoveryRead readRecovery(const QString &path);

// The recovery file of the run that started at `started` as process `pid`.
QString recoveryPath(const QString &dataFolder, const QDateTime &started, qint64 pid);

// The recovery files in the folder that no other running process is
// writing, newest first; the caller's own file (`ownFile`, of process
// `ownPid`) is never listed.
QStringList leftRecoveryFiles(const QString &dataFolder, qint64 ownPid, const QString &ownFile);

} // namespace machine
