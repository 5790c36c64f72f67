// The safe writer and the bounded reader against real file systems: a full
// disk, symlinks, a huge sparse file and a read-only folder, each checked by
// the bytes left on disk and the message the user would read.
//
// Some cases need root to set up (a small tmpfs) or need an unprivileged
// process (a read-only folder means nothing to root): as root the test
// mounts and drops privileges in a child process, so CI runs every case.
#include "settings/safe_read.h"
#include "settings/safe_write.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList namesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

bool isSymlink(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Runs `work` without root's rights: in a child process as nobody when the
// test runs as root, directly otherwise. Returns what `work` returned.
QString unprivileged(const std::function<QString()> &work) {
    if (::geteuid() != 0)
        return work();
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("<pipe failed>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(3);
        const QByteArray answer = work().toUtf8();
        const ssize_t written = ::write(pipeFds[1], answer.constData(), answer.size());
        ::_exit(written == answer.size() ? 0 : 4);
    }
    ::close(pipeFds[1]);
    QByteArray answer;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed: %1>").arg(status);
    return QString::fromUtf8(answer);
}

// A tmpfs of 64 KiB filled to the last byte; unmounted when it goes.
class FullDisk {
public:
    explicit FullDisk(const QString &folder) : folder(QFile::encodeName(folder)) {
        mounted = ::mount("tmpfs", this->folder.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk() {
        if (mounted)
            ::umount2(folder.constData(), MNT_DETACH);
    }
    bool isMounted() const { return mounted; }
    // Fills what is left with one file, so the next write finds no space.
    bool fill() const {
        QFile filler(QString::fromLocal8Bit(folder) + QStringLiteral("/.filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        return true;
    }

private:
    QByteArray folder;
    bool mounted = false;
};

// Sets a file's times `seconds` into the past.
bool age(const QString &path, int seconds) {
    const timespec past{std::time(nullptr) - seconds, 0};
    const timespec times[2] = {past, past};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

QStringList temporaryNames(const QString &folder) {
    return namesIn(folder).filter(QRegularExpression(QStringLiteral("^\\.~gf")));
}

} // namespace

class SafeWriteTest : public QObject {
    Q_OBJECT

private slots:
    // Plain writes: content, replaced content and the file's mode.
    void writes_and_replaces_data() {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("new file") << QByteArray() << QByteArray("1\r\n");
        QTest::newRow("longer over shorter") << QByteArray("1\r\n") << QByteArray("100000\r\n");
        QTest::newRow("shorter over longer") << QByteArray("100000\r\n") << QByteArray("1\r\n");
        QTest::newRow("empty content") << QByteArray("abc") << QByteArray();
        QTest::newRow("binary and a megabyte")
            << QByteArray("x") << QByteArray(1 << 20, '\0') + "\xff\r\n";
    }
    void writes_and_replaces() {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.json"));
        if (!old.isEmpty()) {
            QVERIFY(writeBytes(path, old));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600), 0);
        }
        QCOMPARE(settings::writeFileSafely(path, bytes), QString());
        QCOMPARE(bytesOf(path), bytes);
        QCOMPARE(namesIn(dir.path()), QStringList{QStringLiteral("file.json")});
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        if (!old.isEmpty()) // the old file's mode is kept
            QCOMPARE(st.st_mode & 0777, 0600u);
    }

    // A symlink in the file's place: never read through, replaced on save,
    // its target left exactly as it was.
    void symlink_is_replaced_not_followed_data() {
        QTest::addColumn<bool>("dangling");
        QTest::newRow("link to a file outside the folder") << false;
        QTest::newRow("dangling link into another folder") << true;
    }
    void symlink_is_replaced_not_followed() {
        QFETCH(bool, dangling);
        QTemporaryDir folder, elsewhere;
        const QString victim = elsewhere.filePath(QStringLiteral("victim"));
        if (!dangling)
            QVERIFY(writeBytes(victim, "root:x:0:0\n"));
        const QString link = folder.filePath(QStringLiteral("VeviVerezoz.bmp"));
        QVERIFY(QFile::link(victim, link));

        // Loading does not read the target: the link is replaced by a file
        // holding 1, and the target is untouched.
        const settings::LoadResult loaded = settings::loadPrecision(folder.path());
        QCOMPARE(loaded.precisionFactor, 1);
        QCOMPARE(loaded.error, QString());
        QVERIFY(!isSymlink(link));
        QCOMPARE(bytesOf(link), QByteArray("1\r\n"));

        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(victim, link));
        QCOMPARE(settings::savePrecision(folder.path(), 100), QString());
        QVERIFY(!isSymlink(link));
        QCOMPARE(bytesOf(link), QByteArray("100\r\n"));
        if (dangling)
            QCOMPARE(namesIn(elsewhere.path()), QStringList());
        else
            QCOMPARE(bytesOf(victim), QByteArray("root:x:0:0\n"));
    }

    // A full disk: the write fails before the rename, the old file stays
    // byte for byte, no temporary file is left, the message names the file
    // and the reason.
    void full_disk_keeps_the_old_file_data() {
        QTest::addColumn<QByteArray>("old");
        QTest::newRow("a setting of 1000") << QByteArray("1000\r\n");
        QTest::newRow("no file yet") << QByteArray();
    }
    void full_disk_keeps_the_old_file() {
        QFETCH(QByteArray, old);
        if (::geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root");
        QTemporaryDir dir;
        FullDisk disk(dir.path());
        if (!disk.isMounted())
            QSKIP("this system refuses a tmpfs mount");
        const QString path = settings::settingsPath(dir.path());
        if (!old.isEmpty())
            QVERIFY(writeBytes(path, old));
        QVERIFY(disk.fill());

        if (old.isEmpty()) {
            // The start with no file: the message, precision 1, no file.
            const settings::LoadResult loaded = settings::loadPrecision(dir.path());
            QCOMPARE(loaded.precisionFactor, 1);
            QVERIFY2(loaded.error.contains(QStringLiteral("Нет места на устройстве")),
                     qPrintable(loaded.error));
            QVERIFY(loaded.error.contains(QStringLiteral("VeviVerezoz.bmp")));
            QVERIFY(!QFile::exists(path));
        } else {
            const QString error = settings::savePrecision(dir.path(), 100);
            QVERIFY2(error.contains(QStringLiteral("Нет места на устройстве")), qPrintable(error));
            QVERIFY(error.contains(path));
            QCOMPARE(bytesOf(path), old);
        }
        QCOMPARE(namesIn(dir.path()).filter(QStringLiteral(".~gf")), QStringList());
    }

    // A writable file in a folder that takes no new file: rewritten in
    // place. A file that cannot be written there either: reported, kept.
    void read_only_folder_data() {
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("reason");
        QTest::newRow("writable file: rewritten in place")
            << true << QByteArray("100\r\n") << QString();
        QTest::newRow("read-only file: reported and kept")
            << false << QByteArray("1000\r\n") << QStringLiteral("Отказано в доступе");
    }
    void read_only_folder() {
        QFETCH(bool, fileWritable);
        QFETCH(QByteArray, expected);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = settings::settingsPath(dir.path());
        QVERIFY(writeBytes(path, "1000\r\n"));
        const QByteArray folderName = QFile::encodeName(dir.path());
        const QByteArray fileName = QFile::encodeName(path);
        QCOMPARE(::chmod(fileName.constData(), fileWritable ? 0644 : 0444), 0);
        if (::geteuid() == 0) // the folder stays root's; the file is nobody's
            QCOMPARE(::chown(fileName.constData(), kNobody, kNobody), 0);
        QCOMPARE(::chmod(folderName.constData(), 0555), 0);

        const QString error =
            unprivileged([&] { return settings::savePrecision(dir.path(), 100); });
        QCOMPARE(::chmod(folderName.constData(), 0755), 0);
        QCOMPARE(bytesOf(path), expected);
        if (reason.isEmpty())
            QCOMPARE(error, QString());
        else
            QVERIFY2(error.contains(reason) && error.contains(path), qPrintable(error));
        QCOMPARE(namesIn(dir.path()), QStringList{QStringLiteral("VeviVerezoz.bmp")});
    }

    // Files far larger than anything the program writes: a bounded prefix
    // is read, so the start takes normal time and memory.
    void huge_files_start_normally_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("value");
        QTest::newRow("64 GB of zero bytes") << (qint64(64) << 30) << QByteArray() << 1;
        QTest::newRow("1 GB after a valid number")
            << (qint64(1) << 30) << QByteArray("1000\r\n") << 1000;
    }
    void huge_files_start_normally() {
        QFETCH(qint64, size);
        QFETCH(QByteArray, head);
        QFETCH(int, value);
        QTemporaryDir dir;
        const QString path = settings::settingsPath(dir.path());
        QVERIFY(writeBytes(path, head));
        // Sparse: no disk is used.
        QCOMPARE(::truncate(QFile::encodeName(path).constData(), size), 0);
        const settings::LoadResult loaded = settings::loadPrecision(dir.path());
        QCOMPARE(loaded.precisionFactor, value);
        QCOMPARE(QFileInfo(path).size(), size); // left alone until the close
    }

    // Blanks before the number are allowed up to the bound, not past it.
    void blank_bound_data() {
        QTest::addColumn<qsizetype>("blanks");
        QTest::addColumn<int>("value");
        QTest::newRow("just under 16 MiB of blanks") << qsizetype((16 << 20) - 1) << 100;
        QTest::newRow("16 MiB of blanks") << qsizetype(16 << 20) << 1;
        QTest::newRow("20 MiB of blanks") << qsizetype(20 << 20) << 1;
    }
    void blank_bound() {
        QFETCH(qsizetype, blanks);
        QFETCH(int, value);
        QTemporaryDir dir;
        QVERIFY(writeBytes(settings::settingsPath(dir.path()), QByteArray(blanks, '\n') + "100"));
        QCOMPARE(settings::loadPrecision(dir.path()).precisionFactor, value);
    }

    void reader_opens_only_regular_files_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opened");
        QTest::newRow("regular file") << QStringLiteral("file") << true;
        QTest::newRow("symlink to a regular file") << QStringLiteral("link") << false;
        QTest::newRow("named pipe") << QStringLiteral("fifo") << false;
        QTest::newRow("folder") << QStringLiteral("folder") << false;
        QTest::newRow("nothing there") << QStringLiteral("none") << false;
    }
    void reader_opens_only_regular_files() {
        QFETCH(QString, kind);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target"));
        QVERIFY(writeBytes(target, "12345"));
        const QString path = dir.filePath(QStringLiteral("probe"));
        if (kind == QStringLiteral("file"))
            QVERIFY(writeBytes(path, "12345"));
        else if (kind == QStringLiteral("link"))
            QVERIFY(QFile::link(target, path));
        else if (kind == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QStringLiteral("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("probe")));
        const settings::ReadOutcome read = settings::readFilePrefix(path, 3);
        QCOMPARE(read.opened, opened);
        QCOMPARE(read.bytes, opened ? QByteArray("123") : QByteArray());
        QCOMPARE(read.truncated, opened);
    }

    // What a killed writer left of the same target goes at the next write;
    // a file still locked is being written by someone and stays.
    void temporary_files_of_a_killed_writer_are_removed_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("removed");
        QTest::newRow("left by a killed writer") << "m.json" << false << 60 << true;
        QTest::newRow("still being written") << "m.json" << true << 60 << false;
        QTest::newRow("just made by another writer") << "m.json" << false << 0 << false;
        QTest::newRow("another target's") << "other.json" << false << 60 << false;
    }
    void temporary_files_of_a_killed_writer_are_removed() {
        QFETCH(QString, target);
        QFETCH(bool, locked);
        QFETCH(int, ageSeconds);
        QTemporaryDir dir;
        const QString left =
            dir.filePath(settings::temporaryPrefix(target) + QStringLiteral("aB3dE9"));
        QVERIFY(writeBytes(left, "half a fi"));
        QVERIFY(age(left, ageSeconds));
        const int holder = ::open(QFile::encodeName(left).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(holder >= 0);
        if (locked)
            QCOMPARE(::flock(holder, LOCK_EX | LOCK_NB), 0);
        const QString path = dir.filePath(QStringLiteral("m.json"));
        QVERIFY(settings::writeFile(path, "whole").ok());
        ::close(holder);
        QCOMPARE(bytesOf(path), QByteArray("whole"));
        QTEST(!QFile::exists(left), "removed");
        QCOMPARE(temporaryNames(dir.path()).size(), QFile::exists(left) ? 1 : 0);
    }

    // A writer killed at any moment leaves the old file or the new one, never
    // a mixture: the new bytes reach the name only by the rename. What it
    // left beside it goes at the next write.
    void killed_writer_leaves_the_old_or_the_new_file() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.json"));
        const QByteArray first(19 * 1024, 'a'), second(19 * 1024, 'b'), third(7, 'c');
        QVERIFY(writeBytes(path, first));
        auto *random = QRandomGenerator::global();
        for (int round = 0; round < 40; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int i = 0;; ++i)
                    settings::writeFile(path, i % 2 == 0 ? second : first);
            }
            ::usleep(random->bounded(1000, 20000));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            const QByteArray now = bytesOf(path);
            QVERIFY2(now == first || now == second,
                     qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
        }
        for (const QString &name : temporaryNames(dir.path()))
            QVERIFY(age(dir.filePath(name), 60));
        QVERIFY(settings::writeFile(path, third).ok());
        QCOMPARE(bytesOf(path), third);
        QCOMPARE(temporaryNames(dir.path()), QStringList());
    }

    // The temporary name does not grow with the target's: a name of 255
    // bytes, the most a file system takes, is written.
    void longest_file_name_is_written() {
        QTemporaryDir dir;
        const QString name = QString(127, QChar(u'ж')) + QStringLiteral("x");
        QCOMPARE(QFile::encodeName(name).size(), 255);
        const QString path = dir.filePath(name);
        const settings::WriteOutcome outcome = settings::writeFile(path, "bytes");
        QVERIFY2(outcome.ok(), qPrintable(outcome.reason));
        QCOMPARE(bytesOf(path), QByteArray("bytes"));
    }

    // Larger files are never rewritten in place, where a crash could leave
    // half of one: a folder that takes no new file refuses the write and
    // says which folder it is.
    void read_only_folder_refuses_other_files() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.json"));
        QVERIFY(writeBytes(path, "old"));
        const QByteArray folderName = QFile::encodeName(dir.path());
        const QByteArray fileName = QFile::encodeName(path);
        if (::geteuid() == 0)
            QCOMPARE(::chown(fileName.constData(), kNobody, kNobody), 0);
        QCOMPARE(::chmod(folderName.constData(), 0555), 0);
        const QString answer = unprivileged([&] {
            const settings::WriteOutcome outcome = settings::writeFile(path, "new");
            return QStringLiteral("%1|%2|%3")
                .arg(outcome.ok())
                .arg(outcome.folderRefused)
                .arg(settings::writeFailureText(path, outcome));
        });
        QCOMPARE(::chmod(folderName.constData(), 0755), 0);
        QCOMPARE(bytesOf(path), QByteArray("old"));
        const QStringList parts = answer.split(QLatin1Char('|'));
        QCOMPARE(parts.value(0), QStringLiteral("0"));
        QCOMPARE(parts.value(1), QStringLiteral("1"));
        QVERIFY2(parts.value(2).contains(
                     QStringLiteral("папка «%1» не принимает новых файлов").arg(dir.path())) &&
                     parts.value(2).contains(QStringLiteral("Отказано в доступе")),
                 qPrintable(answer));
    }

    void reasons_are_russian_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("no space") << ENOSPC << QStringLiteral("Нет места на устройстве");
        QTest::newRow("access") << EACCES << QStringLiteral("Отказано в доступе");
        QTest::newRow("read-only file system")
            << EROFS << QStringLiteral("Файловая система доступна только для чтения");
        QTest::newRow("unknown code keeps its number")
            << 9999 << QStringLiteral("ошибка системы 9999");
    }
    void reasons_are_russian() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QVERIFY2(settings::systemReason(code).startsWith(text),
                 qPrintable(settings::systemReason(code)));
    }
};

QTEST_GUILESS_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
