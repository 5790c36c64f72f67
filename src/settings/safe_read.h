// Reading a file the program keeps without trusting it: only a regular file
// is opened (no symlink, pipe or device), and never more than a bound.
#pragma once

#include <QByteArray>
#include <QString>

namespace settings {

struct ReadOutcome {
    bool opened = false;    // a regular file was there and could be opened
    bool truncated = false; // the file goes on past the bound
    QByteArray bytes;       // at most the bound
    int errorCode = 0;      // why it was not opened or read (0: no such file
                            // or not a regular file)
};

// Reads at most `limit` bytes from the start of the regular file at `path`.
// A symlink is not followed, and a named pipe or device is not opened for
// reading, so neither can hang the caller or lead it outside the folder.
ReadOutcome readFilePrefix(const QString &path, qint64 limit);

} // namespace settings
