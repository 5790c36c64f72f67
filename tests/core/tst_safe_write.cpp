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
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <grp.h>
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
        QCOMPARE(namesIn(dir.path()).filter(QStringLiteral("VeviVerezoz.bmp.")), QStringList());
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
