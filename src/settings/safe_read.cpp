// Bounded reading of a regular file, without following a symlink.
#include "settings/safe_read.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

ReadOutcome readFilePrefix(const QString &path, qint64 limit, Links links) {
    ReadOutcome outcome;
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    // O_NONBLOCK: opening a named pipe must not wait for a writer;
    // O_NOFOLLOW: a symlink in the file's place is not the program's file.
    const int flags =
        O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Followed ? 0 : O_NOFOLLOW);
    const int fd = ::open(name.constData(), flags);
    if (fd < 0) {
        outcome.errorCode = errno == ELOOP || errno == ENOENT ? 0 : errno;
        outcome.notRegular = errno == ELOOP || errno == EISDIR;
        return outcome;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        outcome.notRegular = true;
        ::close(fd);
        return outcome;
    }
    outcome.opened = true;
    // The size is only a hint: the file may grow or shrink while it is read.
    const qint64 want = limit + 1;
    outcome.bytes.resize(static_cast<qsizetype>(std::min<qint64>(want, 64 * 1024)));
    qint64 got = 0;
    while (got < want) {
        if (got == outcome.bytes.size())
            outcome.bytes.resize(static_cast<qsizetype>(std::min<qint64>(want, got * 2)));
        const ssize_t n =
            ::read(fd, outcome.bytes.data() + got, static_cast<size_t>(outcome.bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            outcome.errorCode = errno;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    outcome.truncated = got > limit;
    outcome.bytes.resize(static_cast<qsizetype>(std::min(got, limit)));
    return outcome;
}

FileStamp stampOf(const QByteArray &bytes) {
    return {true, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

FileStamp stampFile(const QString &path, qint64 limit) {
    const ReadOutcome read = readFilePrefix(path, limit, Links::Followed);
    if (!read.opened)
        return {};
    FileStamp stamp = stampOf(read.bytes);
    // A file past the bound differs from anything the program wrote.
    if (read.truncated)
        stamp.digest += "+";
    return stamp;
}

} // namespace settings
