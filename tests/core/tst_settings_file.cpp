// The settings file against real files in a temporary folder.
#include "settings/settings_file.h"
#include "settings/user_preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void reads_the_first_integer_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("as written") << QByteArray("1000\r\n") << true << 1000;
        QTest::newRow("empty file reads 0") << QByteArray() << true << 0;
        QTest::newRow("blanks only read 0") << QByteArray(" \t\r\n \n") << true << 0;
        QTest::newRow("leading blank lines") << QByteArray("\r\n\n   10000\r\n") << true << 10000;
        QTest::newRow("text after a blank ignored") << QByteArray("100 abc\r\n") << true << 100;
        QTest::newRow("fifty") << QByteArray("50") << true << 50;
        QTest::newRow("negative") << QByteArray("-3\r\n") << true << -3;
        QTest::newRow("plus sign") << QByteArray("+100") << true << 100;
        QTest::newRow("lowest 32-bit") << QByteArray("-2147483648") << true << int(INT32_MIN);
        QTest::newRow("letters") << QByteArray("abc") << false << 0;
        QTest::newRow("digits then letters in one run") << QByteArray("100abc") << false << 0;
        QTest::newRow("lone sign") << QByteArray("-") << false << 0;
        QTest::newRow("beyond 32 bits") << QByteArray("99999999999") << false << 0;
        QTest::newRow("one past the top") << QByteArray("2147483648") << false << 0;
        QTest::newRow("a run longer than 32 characters is cut")
            << QByteArray("000000000000000000000000000000001234") << true << 0;
    }
    void reads_the_first_integer() {
        QFETCH(QByteArray, content);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto parsed = settings::parsePrecision(content);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void writes_digits_and_crlf_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1") << 1 << QByteArray("1\r\n");
        QTest::newRow("100") << 100 << QByteArray("100\r\n");
        QTest::newRow("100000") << 100000 << QByteArray("100000\r\n");
        QTest::newRow("0") << 0 << QByteArray("0\r\n");
        QTest::newRow("-3") << -3 << QByteArray("-3\r\n");
    }
    void writes_digits_and_crlf() {
        QFETCH(int, factor);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QCOMPARE(settings::savePrecision(dir.path(), factor), QString());
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), bytes);
        // What is written reads back as the same value.
        QCOMPARE(settings::loadPrecision(dir.path()).precisionFactor, factor);
    }

    void missing_file_is_created_holding_1() {
        QTemporaryDir dir;
        const settings::LoadResult r = settings::loadPrecision(dir.path());
        QCOMPARE(r.precisionFactor, 1);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), QByteArray("1\r\n"));
    }

    void garbage_counts_as_1_and_stays_until_the_close() {
        QTemporaryDir dir;
        writeAll(dir.filePath("VeviVerezoz.bmp"), "abc\r\n");
        QCOMPARE(settings::loadPrecision(dir.path()).precisionFactor, 1);
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), QByteArray("abc\r\n"));
    }

    // Files a user may find in the setting's place: what the start reads and
    // what is left in the file until the close writes it.
    void odd_files_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("value");
        const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(static_cast<char>((i * 37) % 256));
        QTest::newRow("binary bytes") << binary << 1;
        QTest::newRow("binary after a valid number") << QByteArray("100\r\n") + binary << 100;
        QTest::newRow("a NUL inside the number") << QByteArray("10\0"
                                                               "0",
                                                               4)
                                                 << 1;
        QTest::newRow("10 MB of letters") << tenMegabytes << 1;
        QTest::newRow("10 MB after a valid number")
            << QByteArray("1000\r\n") + tenMegabytes << 1000;
        QTest::newRow("10 MB of blanks, then a number")
            << QByteArray(10 * 1024 * 1024, ' ') + "10" << 10;
    }
    void odd_files() {
        QFETCH(QByteArray, content);
        QFETCH(int, value);
        QTemporaryDir dir;
        writeAll(dir.filePath("VeviVerezoz.bmp"), content);
        const settings::LoadResult r = settings::loadPrecision(dir.path());
        QCOMPARE(r.precisionFactor, value);
        QVERIFY(r.error.isEmpty());
        QVERIFY(readAll(dir.filePath("VeviVerezoz.bmp")) == content);
    }

    void unreadable_file_is_replaced_by_1() {
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QTemporaryDir dir;
        writeAll(dir.filePath("VeviVerezoz.bmp"), "1000\r\n");
        QVERIFY(QFile::setPermissions(dir.filePath("VeviVerezoz.bmp"), QFile::WriteOwner));
        const settings::LoadResult r = settings::loadPrecision(dir.path());
        QCOMPARE(r.precisionFactor, 1);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), QByteArray("1\r\n"));
    }

    // Opening a named pipe for reading waits for a writer: the start must
    // not wait for one.
    void named_pipe_in_the_files_place_does_not_block() {
        QTemporaryDir dir;
        const QByteArray pipe = QFile::encodeName(dir.filePath("VeviVerezoz.bmp"));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        const settings::LoadResult r = settings::loadPrecision(dir.path());
        QCOMPARE(r.precisionFactor, 1);
        QVERIFY(r.error.isEmpty());
        QVERIFY(QFileInfo(dir.filePath("VeviVerezoz.bmp")).isFile());
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), QByteArray("1\r\n"));
    }

    void folder_in_the_files_place_reports_and_goes_on_with_1() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("VeviVerezoz.bmp"));
        const settings::LoadResult r = settings::loadPrecision(dir.path());
        QCOMPARE(r.precisionFactor, 1);
        QVERIFY(r.error.contains("VeviVerezoz.bmp"));
        QVERIFY(!settings::savePrecision(dir.path(), 100).isEmpty());
        QVERIFY(QFileInfo(dir.filePath("VeviVerezoz.bmp")).isDir());
    }

    void failed_save_keeps_the_previous_setting() {
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QTemporaryDir dir;
        QCOMPARE(settings::savePrecision(dir.path(), 1000), QString());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const QString error = settings::savePrecision(dir.path(), 100);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(error.contains("VeviVerezoz.bmp"));
        QCOMPARE(readAll(dir.filePath("VeviVerezoz.bmp")), QByteArray("1000\r\n"));
    }

    void missing_folder_reports_on_save() {
        QTemporaryDir dir;
        const QString gone = dir.filePath("no-such-folder");
        QVERIFY(!settings::savePrecision(gone, 100).isEmpty());
        const settings::LoadResult r = settings::loadPrecision(gone);
        QCOMPARE(r.precisionFactor, 1);
        QVERIFY(!r.error.isEmpty());
    }

    // The preferences file is the user's, but any program may have written
    // it: whatever it holds, the list stays a list of at most nine distinct
    // paths, and a convention is taken only when one was really chosen.
    void preferences_file_is_read_defensively_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("convention"); // -1 none, 0 Russian, 1 international
        QTest::addColumn<QStringList>("recent");
        QTest::newRow("chosen international")
            << QByteArray(R"({"internationalCsv": true})") << 1 << QStringList{};
        QTest::newRow("never chosen")
            << QByteArray(R"({"recentFiles": ["/a"]})") << -1 << QStringList{"/a"};
        QTest::newRow("a string is no choice")
            << QByteArray(R"({"internationalCsv": "yes"})") << -1 << QStringList{};
        QTest::newRow("not JSON") << QByteArray("internationalCsv=1") << -1 << QStringList{};
        QTest::newRow("an array at the top")
            << QByteArray(R"([true, "/a"])") << -1 << QStringList{};
        QTest::newRow("duplicates, empties and numbers left out")
            << QByteArray(
                   R"({"internationalCsv": false, "recentFiles": ["/a", "", 7, "/a", "/b"]})")
            << 0 << QStringList{"/a", "/b"};
        QTest::newRow("a list that is no list")
            << QByteArray(R"({"recentFiles": "/a"})") << -1 << QStringList{};
        QByteArray twelve = R"({"recentFiles": [)";
        QStringList nine;
        for (int k = 1; k <= 12; ++k) {
            twelve += (k > 1 ? "," : "") + QByteArray("\"/f") + QByteArray::number(k) + "\"";
            if (k <= settings::kRecentFileLimit)
                nine << QStringLiteral("/f%1").arg(k);
        }
        QTest::newRow("twelve files, nine kept") << twelve + "]}" << -1 << nine;
    }
    void preferences_file_is_read_defensively() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, convention);
        const settings::UserPreferences p = settings::parsePreferences(bytes);
        QCOMPARE(p.internationalCsv.has_value() ? int(*p.internationalCsv) : -1, convention);
        QTEST(p.recentFiles, "recent");
        // What is written reads back the same.
        QCOMPARE(settings::parsePreferences(settings::preferencesBytes(p)), p);
    }

    void recent_list_puts_the_file_first_once_and_keeps_nine() {
        QStringList list;
        for (int k = 1; k <= 9; ++k)
            list = settings::withRecent(list, QStringLiteral("/f%1").arg(k));
        QCOMPARE(list.first(), QStringLiteral("/f9"));
        QCOMPARE(list.last(), QStringLiteral("/f1"));
        list = settings::withRecent(list, QStringLiteral("/f5"));
        QCOMPARE(list.size(), 9);
        QCOMPARE(list.mid(0, 3), (QStringList{"/f5", "/f9", "/f8"}));
        list = settings::withRecent(list, QStringLiteral("/new"));
        QCOMPARE(list.size(), 9);
        QCOMPARE(list.first(), QStringLiteral("/new"));
        QVERIFY(!list.contains(QStringLiteral("/f1")));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"
