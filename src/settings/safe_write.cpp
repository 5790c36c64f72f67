// The safe writer: temporary file, checked unbuffered writes, sync, rename;
// the in-place rewrite where the folder takes no new file.
//
// QSaveFile is not used on purpose: its buffer hides a failing flush, and
// commit() then renames an empty temporary file over the old one.
#include "settings/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

struct ReasonText {
    int code;
    const char *text;
};

// The usual reasons in the words of the Russian system messages.
constexpr std::array<ReasonText, 16> kReasons{{
    {ENOSPC, "Нет места на устройстве"},
    {EDQUOT, "Превышена дисковая квота"},
    {EACCES, "Отказано в доступе"},
    {EPERM, "Операция не позволена"},
    {EROFS, "Файловая система доступна только для чтения"},
    {EISDIR, "Это каталог"},
    {ENOTDIR, "Это не каталог"},
    {ENOENT, "Нет такого файла или каталога"},
    {EIO, "Ошибка ввода/вывода"},
    {EFBIG, "Файл слишком велик"},
    {ENAMETOOLONG, "Слишком длинное имя файла"},
    {ELOOP, "Слишком много уровней символьных ссылок"},
    {EMFILE, "Слишком много открытых файлов"},
    {ENFILE, "Слишком много открытых файлов в системе"},
    {EBUSY, "Устройство или ресурс занято"},
    {ETXTBSY, "Текстовый файл занят"},
}};

class Fd {
public:
    explicit Fd(int fd) : fd(fd) {}
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd; }
    // Closes now and reports the close's own error (NFS and full disks
    // report late write failures there).
    int close() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

int writeAll(int fd, const QByteArray &bytes) {
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        left -= n;
    }
    return 0;
}

// The mode a new file gets: the old file's when a regular file is there,
// otherwise what a plain create would give.
mode_t newFileMode(const QByteArray &target) {
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const QByteArray &folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // the rename is done; a failed folder sync loses nothing
        ::close(fd);
    }
}

// Outcome of the first try: the temporary file could not even be created.
constexpr int kNoTemporaryFile = -1;

constexpr char kTemporaryMark[] = ".~gf";
constexpr int kRandomLength = 6; // mkostemp's XXXXXX

// FNV-1a over the name's bytes: stable across runs and systems, so the next
// write of the same target finds what a killed one left.
quint32 nameHash(const QByteArray &name) {
    quint32 h = 2166136261u;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

QByteArray temporaryPrefixBytes(const QByteArray &targetName) {
    return QByteArray(kTemporaryMark) +
           QByteArray::number(nameHash(targetName), 16).rightJustified(8, '0') + '.';
}

// A temporary file of this target left by a writer that died: the right
// name, a regular file of ours, old enough that no live writer is between
// creating and locking it, and not locked.
void removeIfStale(int folderFd, const char *name) {
    struct stat st {};
    if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid() || std::time(nullptr) - st.st_mtime < kStaleTemporarySeconds)
        return;
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlinkat(folderFd, name, 0);
    ::close(fd);
}

void removeStaleTemporaries(const QByteArray &folder, const QByteArray &prefix) {
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return;
    const int listFd = ::dup(folderFd);
    DIR *dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        ::close(folderFd);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() == prefix.size() + kRandomLength && name.startsWith(prefix))
            removeIfStale(folderFd, entry->d_name);
    }
    ::closedir(dir);
    ::close(folderFd);
}

int writeThroughTemporaryFile(const QByteArray &target, const QByteArray &folder,
                              const QByteArray &bytes, int *createError) {
    const QByteArray prefix =
        temporaryPrefixBytes(QFile::encodeName(QFileInfo(QFile::decodeName(target)).fileName()));
    removeStaleTemporaries(folder, prefix);
    QByteArray pattern = folder + '/' + prefix + QByteArray(kRandomLength, 'X');
    Fd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        *createError = errno;
        return kNoTemporaryFile;
    }
    // Held until the rename: a file still locked is being written.
    int error = ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    if (error == 0)
        error = ::fchmod(fd.get(), newFileMode(target)) == 0 ? 0 : errno;
    if (error == 0)
        error = writeAll(fd.get(), bytes);
    if (error == 0 && ::fsync(fd.get()) != 0 && errno != EINVAL)
        error = errno;
    // rename() replaces whatever has the name, a symlink included, and
    // never follows it.
    if (error == 0 && ::rename(pattern.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(pattern.constData());
        return error;
    }
    // The close's own error comes after the rename: the bytes were synced.
    if (const int closeError = fd.close(); closeError != 0)
        return closeError;
    syncFolder(folder);
    return 0;
}

QByteArray readBack(int fd, off_t size) {
    QByteArray old(static_cast<qsizetype>(size), '\0');
    const ssize_t n = ::pread(fd, old.data(), static_cast<size_t>(size), 0);
    if (n != static_cast<ssize_t>(size))
        return {};
    return old;
}

// The folder takes no new file: rewrite a regular file where it stands.
int rewriteInPlace(const QByteArray &target, const QByteArray &bytes, int createError) {
    // O_NOFOLLOW: a symlink here can only be replaced, which needs a new
    // file in the folder; so it fails like the temporary file did.
    Fd fd(::open(target.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return errno == ENOENT || errno == ELOOP ? createError : errno;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return createError;
    // Old contents larger than this are not kept for a restore.
    constexpr off_t kRestoreLimit = 1 << 20;
    const QByteArray old =
        st.st_size <= kRestoreLimit ? readBack(fd.get(), st.st_size) : QByteArray();
    int error = ::lseek(fd.get(), 0, SEEK_SET) == 0 ? 0 : errno;
    if (error == 0)
        error = writeAll(fd.get(), bytes);
    if (error == 0 && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd.get()) != 0 && errno != EINVAL)
        error = errno;
    if (error != 0 && old.size() == st.st_size) {
        // Put the old bytes back where the system still lets us.
        if (::lseek(fd.get(), 0, SEEK_SET) == 0 && writeAll(fd.get(), old) == 0 &&
            ::ftruncate(fd.get(), st.st_size) == 0)
            ::fsync(fd.get());
    }
    const int closeError = fd.close();
    return error != 0 ? error : closeError;
}

} // namespace

QString systemReason(int errorCode) {
    for (const ReasonText &r : kReasons)
        if (r.code == errorCode)
            return QString::fromUtf8(r.text);
    return QStringLiteral("ошибка системы %1 (%2)")
        .arg(errorCode)
        .arg(QString::fromLocal8Bit(std::strerror(errorCode)));
}

WriteOutcome writeFile(const QString &path, const QByteArray &bytes, InPlace inPlace) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QByteArray target = QFile::encodeName(absolute);
    const QByteArray folder = QFile::encodeName(QFileInfo(absolute).absolutePath());
    int createError = 0;
    int error = writeThroughTemporaryFile(target, folder, bytes, &createError);
    if (error == kNoTemporaryFile) {
        if (inPlace == InPlace::Refused) {
            const bool refused =
                createError == EACCES || createError == EROFS || createError == EPERM;
            return {createError, systemReason(createError), refused};
        }
        error = rewriteInPlace(target, bytes, createError);
    }
    if (error == 0)
        return {};
    return {error, systemReason(error), false};
}

QString writeFailureText(const QString &path, const WriteOutcome &outcome) {
    const QFileInfo info(path);
    const QString file = QDir::toNativeSeparators(info.absoluteFilePath());
    if (outcome.folderRefused)
        return QStringLiteral("Не удалось записать файл «%1»: папка «%2» не принимает новых "
                              "файлов (%3). Файл не изменён; сохраните в другую папку.")
            .arg(file, QDir::toNativeSeparators(info.absolutePath()), outcome.reason);
    return QStringLiteral("Не удалось записать файл «%1»: %2").arg(file, outcome.reason);
}

QString writeFileSafely(const QString &path, const QByteArray &bytes) {
    const WriteOutcome outcome = writeFile(path, bytes);
    return outcome.ok() ? QString() : writeFailureText(path, outcome);
}

QString temporaryPrefix(const QString &targetFileName) {
    return QFile::decodeName(temporaryPrefixBytes(QFile::encodeName(targetFileName)));
}

} // namespace settings
