// The machine file without windows: the exact bytes of the format, save ->
// open -> save byte for byte, every kind of bad file refused with a message
// that names the file and the fault, and the reader's bounds on disk.
#include "machine/components_file.h"
#include "machine/machine_file.h"
#include "machine/recovery.h"

#include <QtTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using aggregate::GearPair;
using namespace machine;

namespace {
MachineState reducerState() {
    MachineState s;
    s.document.name = QStringLiteral("Редуктор Ц2У-250");
    s.document.notes = QStringLiteral("Вход — электродвигатель 1350 об/мин");
    s.pairSlots[0] = {"13", "22,5", "35", "0"};
    s.pairSlots[1] = {"8", "8,35714285714286", "42", "0"};
    s.currentPair = 2;
    s.inputs = {"8", "8,35714285714286", "42", "0"};
    s.document.known = ReferenceSpeed{1, "1350", SpeedUnit::PerMinute};
    return s;
}

// The reducer's file with one line replaced.
QByteArray reducerWith(const QByteArray &from, const QByteArray &to) {
    QByteArray bytes = machineFileBytes(reducerState());
    Q_ASSERT(bytes.contains(from));
    return bytes.replace(from, to);
}

// The reducer with a belt before it, a planetary stage after pair 1 and
// bearings on a shaft (by geometry) and on the planets (by catalogue).
MachineState builtState() {
    MachineState s = reducerState();
    ExtraStage belt;
    belt.kind = StageKind::Belt;
    belt.belt = {125, 250.5, 1800, 1.5};
    ExtraStage planetary;
    planetary.kind = StageKind::Planetary;
    planetary.planetary = {21, 43, 108, 3, Member::Ring, Member::Sun};
    planetary.afterPairs = 1;
    s.document.extraStages = {belt, planetary};
    MountedBearing onShaft;
    onShaft.shaft = 2;
    onShaft.bearing.designation = QStringLiteral("6205-2RS «ведущий»");
    onShaft.bearing.geometry = {9, 7.94, 39.04, 0};
    MountedBearing onPlanets;
    onPlanets.shaft = 0;
    onPlanets.planetsOf = 1;
    onPlanets.bearing.byGeometry = false;
    onPlanets.bearing.catalogue = {0.39828, 3.5848, 5.4152, 4.7135};
    onPlanets.bearing.catalogueSpin = SpinConvention::BothRings;
    onPlanets.bearing.turning = TurningRing::Outer;
    s.document.bearings = {onShaft, onPlanets};
    return s;
}

// The built machine's file with one piece replaced.
QByteArray builtWith(const QByteArray &from, const QByteArray &to) {
    QByteArray bytes = machineFileBytes(builtState());
    Q_ASSERT(bytes.contains(from));
    return bytes.replace(from, to);
}

QString message(const QString &why) {
    return "Файл агрегата «gear.json» не открыт: " + why + ".";
}
} // namespace

Q_DECLARE_METATYPE(machine::MachineState)

class MachineFileTest : public QObject {
    Q_OBJECT

private slots:
    void writes_the_documented_format() {
        const QByteArray expected =
            "{\n"
            "  \"format\": \"gearfreq-machine\",\n"
            "  \"version\": 1,\n"
            "  \"name\": \"Редуктор Ц2У-250\",\n"
            "  \"notes\": \"Вход — электродвигатель 1350 об/мин\",\n"
            "  \"currentPair\": 2,\n"
            "  \"inputs\": {\"Z1\": \"8\", \"Fr1\": \"8,35714285714286\", \"Z2\": \"42\", "
            "\"Fm\": \"0\"},\n"
            "  \"pairs\": [\n"
            "    {\"Z1\": \"13\", \"Fr1\": \"22,5\", \"Z2\": \"35\", \"Fm\": \"0\"},\n"
            "    {\"Z1\": \"8\", \"Fr1\": \"8,35714285714286\", \"Z2\": \"42\", \"Fm\": \"0\"}\n"
            "  ],\n"
            "  \"reference\": {\"shaft\": 1, \"speed\": \"1350\", \"unit\": \"об/мин\"}\n"
            "}\n";
        QCOMPARE(machineFileBytes(reducerState()), expected);
    }

    void save_open_save_is_byte_identical_data() {
        QTest::addColumn<MachineState>("state");
        QTest::newRow("a new aggregate") << MachineState{};
        QTest::newRow("the reducer") << reducerState();
        MachineState nine = reducerState();
        for (std::size_t k = 0; k < nine.pairSlots.size(); ++k)
            nine.pairSlots[k] = {QString::number(k + 10), "1", QString(50, QChar(u'9')), ""};
        nine.currentPair = 9;
        nine.document.known = {};
        QTest::newRow("nine full pairs, fifty-character texts") << nine;
        MachineState odd = reducerState();
        odd.document.name = QStringLiteral("\"кавычки\" \\ и\tтабуляция");
        odd.document.notes =
            QStringLiteral("строка 1\nстрока 2\r\n\x01 управляющий, emoji \U0001F527");
        odd.pairSlots[3] = {"", "", "7", ""}; // a gap: slot 4 written, 3 empty
        odd.document.known = ReferenceSpeed{10, "22,5", SpeedUnit::Hertz};
        QTest::newRow("escapes, a gap and shaft 10") << odd;
        MachineState named = reducerState();
        named.document.shaftNames = {"двигатель", "", "барабан \U0001F527"};
        named.document.unit = {Unit::Orders, 3};
        QTest::newRow("shaft names and the table in orders of shaft 3") << named;
        QTest::newRow("a belt, a planetary stage, bearings on a shaft and on planets")
            << builtState();
        MachineState measured = reducerState();
        measured.document.measurement = "замеры/редуктор \"2\".wav";
        QTest::newRow("the last measurement") << measured;
    }
    void save_open_save_is_byte_identical() {
        QFETCH(MachineState, state);
        const QByteArray saved = machineFileBytes(state);
        const MachineFileRead opened = parseMachineFile(saved, "gear.json");
        QVERIFY2(opened.state, qPrintable(opened.error));
        QVERIFY(*opened.state == state);
        QCOMPARE(machineFileBytes(*opened.state), saved);
        // Version 2 only where version 1 cannot say it.
        const bool built = !state.document.extraStages.empty();
        QCOMPARE(saved.contains("\"version\": 2"), built);
        QCOMPARE(saved.contains("\"version\": 1"), !built);
    }

    void stages_and_bearings_are_written_as_documented() {
        const QByteArray bytes = machineFileBytes(builtState());
        const QByteArray tail =
            "  \"stages\": [\n"
            "    {\"kind\": \"belt\", \"afterPairs\": 0, \"driving\": 125, \"driven\": 250.5, "
            "\"length\": 1800, \"slip\": 1.5},\n"
            "    {\"kind\": \"planetary\", \"afterPairs\": 1, \"sun\": 21, \"planet\": 43, "
            "\"ring\": 108, \"planets\": 3, \"fixed\": \"ring\", \"input\": \"sun\"}\n"
            "  ],\n"
            "  \"bearings\": [\n"
            "    {\"shaft\": 2, \"designation\": \"6205-2RS «ведущий»\", \"turning\": \"inner\", "
            "\"geometry\": {\"elements\": 9, \"elementDiameter\": 7.94, \"pitchDiameter\": "
            "39.04, \"contactAngle\": 0}},\n"
            "    {\"planetsOf\": 2, \"designation\": \"\", \"turning\": \"outer\", \"factors\": "
            "{\"FTF\": 0.39828, \"BPFO\": 3.5848, \"BPFI\": 5.4152, \"BSF\": 4.7135, \"BSFis\": "
            "\"bothRings\"}}\n"
            "  ]\n"
            "}\n";
        QVERIFY2(bytes.endsWith(tail), bytes.constData());
        // A version 1 file knows no stages: a list there is not read.
        const MachineFileRead old =
            parseMachineFile(QByteArray(bytes).replace("\"version\": 2", "\"version\": 1"), "x");
        QVERIFY(old.state && old.state->document.extraStages.empty());
    }

    void bad_stages_and_bearings_are_refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        QTest::newRow("an unknown kind") << builtWith("\"kind\": \"belt\"", "\"kind\": \"chain\"")
                                         << "ступень 1: поле \"kind\" должно быть одним из: "
                                            "\"planetary\", \"belt\"";
        QTest::newRow("the driven member fixed")
            << builtWith("\"fixed\": \"ring\"", "\"fixed\": \"sun\"")
            << "ступень 2: неподвижное звено не может быть ведущим";
        QTest::newRow("a belt of no length")
            << builtWith("\"length\": 1800", "\"length\": 0")
            << "ступень 1: поле \"length\" должно быть числом больше 0 и не больше 100000";
        QTest::newRow("slip as text") << builtWith("\"slip\": 1.5", "\"slip\": \"1,5\"")
                                      << "ступень 1: поле \"slip\" должно быть числом от 0 и не "
                                         "больше 20";
        QTest::newRow("planets of the belt") << builtWith("\"planetsOf\": 2", "\"planetsOf\": 1")
                                             << "подшипник 2: ступень 1 не планетарная";
        QTest::newRow("shaft 17")
            << builtWith("\"shaft\": 2, \"designation", "\"shaft\": 17, \"designation")
            << "подшипник 1: поле \"shaft\" должно быть целым числом от 1 до 16";
        QTest::newRow("a cage faster than the ring")
            << builtWith("\"FTF\": 0.39828", "\"FTF\": 1.5")
            << "подшипник 2, factors: поле \"FTF\" должно быть числом больше 0 и не больше 1";
        QTest::newRow("a contact angle of 90°")
            << builtWith("\"contactAngle\": 0", "\"contactAngle\": 90")
            << "подшипник 1, geometry: поле \"contactAngle\" должно быть числом от 0 и не "
               "больше 89.999";
        QTest::newRow("stages as an object")
            << builtWith("\"stages\": [", "\"stages\": {\"a\": [")
                   .replace("\n  ],\n  \"bearings", "\n  ]},\n  \"bearings")
            << "поле \"stages\" должно быть списком";
    }
    void bad_stages_and_bearings_are_refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const MachineFileRead read = parseMachineFile(bytes, "gear.json");
        QVERIFY(!read.state);
        QCOMPARE(read.error, message(why));
    }

    // The user's bearings outlive the machine: written, read back, a
    // designation replaced rather than repeated, and a foreign file refused.
    void bearing_library_round_trip() {
        const std::vector<Bearing> library = {builtState().document.bearings[1].bearing,
                                              builtState().document.bearings[0].bearing};
        const BearingLibraryRead read = parseBearingLibrary(bearingLibraryBytes(library));
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QVERIFY(read.bearings == library);
        Bearing changed = library[1];
        changed.geometry.elements = 10;
        const std::vector<Bearing> updated = withBearing(library, changed);
        QCOMPARE(updated.size(), std::size_t(2));
        QVERIFY(updated.front() == changed);
        QVERIFY(!parseBearingLibrary(machineFileBytes(builtState())).error.isEmpty());
    }

    void bad_files_are_refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        QTest::newRow("empty") << QByteArray("\n \n") << "файл пуст";
        QTest::newRow("not JSON") << QByteArray("Z1=13; Z2=35")
                                  << "это не JSON (ошибка около байта 1)";
        QTest::newRow("JSON cut short")
            << machineFileBytes(reducerState()).left(60) << "это не JSON (ошибка около байта 60)";
        QTest::newRow("a list, not an object")
            << QByteArray("[1, 2]") << "в файле JSON не объект, а список или значение";
        QTest::newRow("binary junk with zero bytes")
            << QByteArray("\x7f"
                          "ELF\x02\x01\x01\x00\x00\x00",
                          10)
            << "файл двоичный (в нём нулевые байты), а не текст";
        QTest::newRow("another encoding")
            << QByteArray("{\"name\": \"\xd0\xe5\xe4\xf3\xea\xf2\xee\xf0\"}")
            << "файл не в кодировке UTF-8 (двоичные данные или другая кодировка)";
        QTest::newRow("another program's JSON") << reducerWith("gearfreq-machine", "other")
                                                << "это не файл агрегата (формат \"other\")";
        QTest::newRow("a later format version")
            << reducerWith("\"version\": 1", "\"version\": 3")
            << "файл другой версии формата (3), программа читает версии 1–2";
        QTest::newRow("version as text")
            << reducerWith("\"version\": 1", "\"version\": \"1\"")
            << "файл другой версии формата (не число), программа читает версии 1–2";
        QTest::newRow("no version") << reducerWith("\"version\": 1,", "") << "нет поля \"version\"";
        QTest::newRow("no name") << reducerWith("\"name\": \"Редуктор Ц2У-250\",", "")
                                 << "нет поля \"name\"";
        QTest::newRow("no inputs' Fm")
            << reducerWith(", \"Fm\": \"0\"},\n  \"pairs", "},\n  \"pairs")
            << "inputs: нет поля \"Fm\"";
        QTest::newRow("no Fr1 in pair 2")
            << reducerWith("{\"Z1\": \"8\", \"Fr1\": \"8,35714285714286\", \"Z2\": \"42\", \"Fm\": "
                           "\"0\"}\n",
                           "{\"Z1\": \"8\", \"Z2\": \"42\", \"Fm\": \"0\"}\n")
            << "пара 2: нет поля \"Fr1\"";
        QTest::newRow("no reference")
            << reducerWith(",\n  \"reference\": {\"shaft\": 1, \"speed\": "
                           "\"1350\", \"unit\": \"об/мин\"}",
                           "")
            << "нет поля \"reference\"";
        QByteArray ten = "  \"pairs\": [\n";
        for (int k = 0; k < 10; ++k)
            ten += QByteArray(k ? ",\n" : "") +
                   "    {\"Z1\": \"1\", \"Fr1\": \"1\", \"Z2\": \"2\", "
                   "\"Fm\": \"0\"}";
        QTest::newRow("ten pairs")
            << reducerWith(machineFileBytes(reducerState())
                               .mid(machineFileBytes(reducerState()).indexOf("  \"pairs\""),
                                    machineFileBytes(reducerState()).indexOf("\n  ],") -
                                        machineFileBytes(reducerState()).indexOf("  \"pairs\"")),
                           ten)
            << "в файле 10 пар, а в агрегате их не больше 9";
        QTest::newRow("a text of 51 characters")
            << reducerWith("\"Z1\": \"13\"", "\"Z1\": \"" + QByteArray(51, '1') + "\"")
            << "пара 1: текст поля \"Z1\" длиннее 50 символов";
        QTest::newRow("51 Cyrillic letters in the speed")
            << reducerWith("\"speed\": \"1350\"",
                           "\"speed\": \"" + QString(51, QChar(u'ж')).toUtf8() + "\"")
            << "reference: текст поля \"speed\" длиннее 50 символов";
        QTest::newRow("half a surrogate pair") << reducerWith("\"name\": \"", "\"name\": \"\\udd27")
                                               << "в тексте поля \"name\" недопустимый символ";
        QTest::newRow("a number instead of a text") << reducerWith("\"Z2\": \"35\"", "\"Z2\": 35")
                                                    << "пара 1: поле \"Z2\" должно быть строкой";
        QTest::newRow("current pair 10")
            << reducerWith("\"currentPair\": 2", "\"currentPair\": 10")
            << "поле \"currentPair\" должно быть целым числом от 1 до 9";
        QTest::newRow("current pair 1,5")
            << reducerWith("\"currentPair\": 2", "\"currentPair\": 1.5")
            << "поле \"currentPair\" должно быть целым числом от 1 до 9";
        QTest::newRow("shaft 17")
            << reducerWith("\"shaft\": 1", "\"shaft\": 17")
            << "reference: поле \"shaft\" должно быть целым числом от 1 до 16";
        QTest::newRow("speed in furlongs")
            << reducerWith("\"unit\": \"об/мин\"", "\"unit\": \"rpm\"")
            << "reference: единица \"rpm\" не «Гц» и не «об/мин»";
        QTest::newRow("a pair that is a text")
            << reducerWith("{\"Z1\": \"13\", \"Fr1\": \"22,5\", \"Z2\": \"35\", \"Fm\": \"0\"}",
                           "\"13/35\"")
            << "пара 1: должна быть объектом";
        QTest::newRow("a measurement that is no text")
            << reducerWith("\"reference\":", "\"measurement\": 5, \"reference\":")
            << "measurement: поле \"measurement\" должно быть строкой";
        QTest::newRow("more than a megabyte")
            << reducerWith("\"notes\": \"", "\"notes\": \"" + QByteArray(1024 * 1024, ' '))
            << "файл больше 1024 КБ, это не файл агрегата";
    }
    void bad_files_are_refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const MachineFileRead read = parseMachineFile(bytes, "gear.json");
        QVERIFY(!read.state);
        QCOMPARE(read.error, message(why));
    }

    void reader_on_disk_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing file") << "missing"
                                      << "файла нет";
        QTest::newRow("a folder") << "folder"
                                  << "это не обычный файл";
        QTest::newRow("a named pipe") << "fifo"
                                      << "это не обычный файл";
        // The system's reason in Russian, not Qt's English one.
        QTest::newRow("a path through a file") << "through a file"
                                               << "Это не каталог";
        QTest::newRow("a link to the file") << "link"
                                            << "";
        QTest::newRow("a file of 100 MB") << "huge"
                                          << "файл больше 1024 КБ, это не файл агрегата";
        QTest::newRow("a good file") << "good"
                                     << "";
    }
    void reader_on_disk() {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = dir.filePath("gear.json");
        if (kind == "through a file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            path += "/x.json";
        } else if (kind == "link") {
            QFile f(dir.filePath("real.json"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(machineFileBytes(reducerState()));
            QVERIFY(QFile::link("real.json", path));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("gear.json"));
        } else if (kind == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "huge" || kind == "good") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(machineFileBytes(reducerState()));
            // A sparse 100 MB file: the reader must stop after its first megabyte.
            if (kind == "huge")
                QVERIFY(f.resize(100LL * 1024 * 1024));
        }
        const MachineFileRead read = readMachineFile(path);
        if (why.isEmpty()) {
            QVERIFY2(read.state, qPrintable(read.error));
            QVERIFY(*read.state == reducerState());
            QCOMPARE(read.stamp, settings::stampOf(machineFileBytes(reducerState())));
        } else if (kind == "through a file") {
            QCOMPARE(read.error, "Файл агрегата «x.json» не открыт: " + why + ".");
        } else {
            QVERIFY(!read.state);
            QCOMPARE(read.error, message(why));
        }
    }

    // A path chosen by the user stands for the file it leads to.
    void chosen_links_are_resolved_data() {
        QTest::addColumn<QStringList>("links"); // name -> target, in order of creation
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("a plain file") << QStringList{} << "real.json"
                                      << "real.json";
        QTest::newRow("a link") << QStringList{"link.json", "real.json"} << "link.json"
                                << "real.json";
        QTest::newRow("a link to a link")
            << QStringList{"a.json", "b.json", "b.json", "real.json"} << "a.json"
            << "real.json";
        QTest::newRow("a link into a folder")
            << QStringList{"link.json", "sub/deep.json"} << "link.json"
            << "sub/deep.json";
        QTest::newRow("a link to a file not made yet")
            << QStringList{"link.json", "new.json"} << "link.json"
            << "new.json";
        QTest::newRow("a file not made yet") << QStringList{} << "new.json"
                                             << "new.json";
    }
    void chosen_links_are_resolved() {
        QFETCH(QStringList, links);
        QFETCH(QString, chosen);
        QFETCH(QString, resolved);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        for (const QString name : {"real.json", "sub/deep.json"}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        for (qsizetype i = 0; i + 1 < links.size(); i += 2)
            QVERIFY(QFile::link(links[i + 1], dir.filePath(links[i])));
        const QString canonicalDir = QFileInfo(dir.path()).canonicalFilePath();
        QCOMPARE(resolvedFilePath(dir.filePath(chosen)), canonicalDir + "/" + resolved);
    }

    void suggested_file_names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "Редуктор Ц2У-250"
                               << "Редуктор Ц2У-250.json";
        QTest::newRow("empty") << ""
                               << "агрегат.json";
        QTest::newRow("blanks only") << " \t\n "
                                     << "агрегат.json";
        QTest::newRow("quote") << "Насос \"Н-3\""
                               << "Насос _Н-3_.json";
        QTest::newRow("line break and tab") << "Насос\nН-3\tвход"
                                            << "Насос Н-3 вход.json";
        QTest::newRow("characters other systems refuse") << "a<b>c|d*e?f:g/h\\i"
                                                         << "a_b_c_d_e_f_g_h_i.json";
        QTest::newRow("hidden or trailing dots") << "..name..."
                                                 << "name.json";
        QTest::newRow("control characters") << QString("x") + QChar(0x07) + QChar(0x200E) + "y"
                                            << "x y.json";
        // 255 bytes at most: 125 Cyrillic letters and ".json" fit, 130 do not.
        QTest::newRow("long Cyrillic name")
            << QString(130, QChar(u'ж')) << QString(125, QChar(u'ж')) + ".json";
    }
    void suggested_file_names() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        const QString made = suggestedFileName(name, "json");
        QCOMPARE(made, file);
        QVERIFY(made.toUtf8().size() <= 255);
    }

    // A character outside the Basic Multilingual Plane at the 50-character
    // bound: kept whole by the store, the train, the file and its reader.
    void astral_character_at_the_bound_goes_round_whole() {
        const QString z1 = QString(49, QChar(u'1')) + QStringLiteral("\U0001D7D8");
        QCOMPARE(z1.size(), 51);
        aggregate::PairStore store;
        store.store(1, {z1, "20", "42", "0"});
        QCOMPARE(store.load(1).z1, z1);
        const Train train = buildTrain({store.load(1)}, false, 1);
        QCOMPARE(train.pairs[0].texts.z1, z1);
        QCOMPARE(train.pairs[0].problem, QStringLiteral("Z1 не число"));
        const MachineState s = captureState({}, store, 2, {z1, "1", z1, "0"});
        QCOMPARE(s.inputs.z1, z1);
        const MachineFileRead opened = parseMachineFile(machineFileBytes(s), "gear.json");
        QVERIFY2(opened.state, qPrintable(opened.error));
        QVERIFY(*opened.state == s);
        // One character more is the reader's 51st.
        const QByteArray longer = machineFileBytes(s).replace(z1.toUtf8(), ("7" + z1).toUtf8());
        QCOMPARE(parseMachineFile(longer, "gear.json").error,
                 message("inputs: текст поля \"Z1\" длиннее 50 символов"));
    }

    void recovery_file_goes_round_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("a machine never saved") << QString();
        QTest::newRow("a machine from its file") << "/home/user/насос «Н-3».json";
    }
    void recovery_file_goes_round() {
        QFETCH(QString, file);
        const Recovery r{reducerState(), file,
                         QDateTime(QDate(2026, 12, 8), QTime(21, 40, 5), Qt::UTC)};
        const RecoveryRead read = parseRecovery(recoveryBytes(r));
        QVERIFY2(read.recovery, qPrintable(read.error));
        QVERIFY(*read.recovery == r);
    }

    void bad_recovery_files_are_not_offered_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const QByteArray good =
            recoveryBytes({reducerState(), "", QDateTime::currentDateTimeUtc()});
        QTest::newRow("a machine file, not a recovery")
            << machineFileBytes(reducerState())
            << "это не файл восстановления этой версии программы";
        QTest::newRow("without its machine")
            << QByteArray(good).left(good.indexOf("\"machine\"")) + "\"x\": 1}"
            << "в нём нет полей \"file\", \"savedAt\" или \"machine\"";
        QTest::newRow("a machine of another version")
            << QByteArray(good).replace("\"version\": 1,\n  \"name\"",
                                        "\"version\": 9,\n  \"name\"")
            << "Файл агрегата «machine» не открыт: файл другой версии формата (9), программа "
               "читает версии 1–2.";
        QTest::newRow("not JSON") << QByteArray("{") << "это не JSON (ошибка около байта 1)";
    }
    void bad_recovery_files_are_not_offered() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const RecoveryRead read = parseRecovery(bytes);
        QVERIFY(!read.recovery);
        QCOMPARE(read.error, "Несохранённый агрегат не восстановить: " + why + ".");
    }

    // Each run writes its own file; a run offers what runs that ended left,
    // newest first, never its own or a running one's.
    void recovery_files_left_by_ended_runs() {
        QTemporaryDir dir;
        const QDateTime t0(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC);
        const qint64 own = ::getpid(), running = 1;
        qint64 ended = 4194303; // above any pid this system hands out
        while (::kill(pid_t(ended), 0) == 0)
            --ended;
        const QStringList names{recoveryPath(dir.path(), t0, ended),
                                recoveryPath(dir.path(), t0.addDays(2), ended),
                                recoveryPath(dir.path(), t0.addDays(3), own),
                                recoveryPath(dir.path(), t0.addDays(4), running),
                                dir.filePath("recovery-notes.json"),
                                recoveryPath(dir.path(), t0.addDays(1), own)};
        for (const QString &n : names) {
            QFile f(n);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        // An earlier window of this process left names[5]: offered too.
        QCOMPARE(leftRecoveryFiles(dir.path(), own, names[2]),
                 (QStringList{names[1], names[5], names[0]}));
    }

    void capture_cuts_what_the_file_cannot_hold() {
        aggregate::PairStore store;
        store.store(1, {"13", "22,5", "35", "0"});
        const QString long60(60, QChar(u'5'));
        MachineDocument d;
        d.name = QString(300, QChar(u'n'));
        d.notes = QString(30000, QChar(u'x'));
        d.known = ReferenceSpeed{2, "", SpeedUnit::Hertz};
        d.shaftNames = {"вал", "", ""};
        const MachineState s = captureState(d, store, 2, {long60, "1", "2", "0"});
        QCOMPARE(s.document.name.size(), kNameLimit);
        QCOMPARE(s.document.notes.size(), kNotesLimit);
        QCOMPARE(s.inputs.z1, long60.left(50));
        QCOMPARE(s.pairSlots[0], (GearPair{"13", "22,5", "35", "0"}));
        QVERIFY(!s.document.hasKnownSpeed()); // no speed typed: no reference
        QCOMPARE(s.document.shaftNames, std::vector<QString>{"вал"}); // trailing blanks dropped
        QVERIFY(parseMachineFile(machineFileBytes(s), "x").state);
    }

    void opened_aggregate_is_as_a_jump_leaves_it_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("back");
        QTest::newRow("pair 1 stored") << 1 << true << false;
        QTest::newRow("pair 2 stored") << 2 << true << true;
        QTest::newRow("newest pair 3, not stored") << 3 << false << true;
    }
    void opened_aggregate_is_as_a_jump_leaves_it() {
        QFETCH(int, current);
        MachineState s = reducerState();
        s.currentPair = current;
        s.pairSlots[4] = {"", "", "", "1"}; // any text makes the slot written
        const aggregate::AggregateState a = restoredAggregate(s);
        QCOMPARE(a.CurrentPair, current);
        QTEST(a.nextEnabled, "next");
        QTEST(a.backEnabled, "back");
        QCOMPARE(a.PairStore.load(2), s.pairSlots[1]);
        const std::array<bool, 9> items{true, true, false, false, true, false, false, false, false};
        QCOMPARE(a.itemVisible, items);
    }
};

QTEST_GUILESS_MAIN(MachineFileTest)
#include "tst_machine_file.moc"
