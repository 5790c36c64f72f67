// Reading a file the program keeps without trusting it: only a regular file
// is opened (no pipe or device, and no symlink unless the user chose the
// file), and never more than a bound.
#pragma once

#include <QByteArray>
#include <QString>

namespace settings {

struct ReadOutcome {
    bool opened = false;     // a regular file was there and could be opened
    bool truncated = false;  // the file goes on past the bound
    bool notRegular = false; // something is there, but no regular file (a folder, a pipe)
    QByteArray bytes;        // at most the bound
    int errorCode = 0;       // why it was not opened or read (0: no such file,
                             // not a regular file, or a symlink not followed)
};

// Whether a symlink in the file's place is followed. The program's own files
// (the settings file) are never read through one; a file the user picked in
// a dialog or named on the command line is read where the link leads.
enum class Links { NotFollowed, Followed };

// Reads at most `limit` bytes from the start of the regular file at `path`.
// A named pipe or device is never opened for reading, so none can hang the
// caller; a symlink is followed only when asked.
ReadOutcome readFilePrefix(const QString &path, qint64 limit, Links links = Links::NotFollowed);

// What a file held when the program last read or wrote it, to tell that
// another program (or another window of this one) has replaced it since.
struct FileStamp {
    bool exists = false;
    QByteArray digest; // SHA-256 of the bytes
    bool operator==(const FileStamp &) const = default;
};
FileStamp stampOf(const QByteArray &bytes);
// The file as it is now on disk, read up to `limit` bytes.
FileStamp stampFile(const QString &path, qint64 limit);

} // namespace settings
