// The measurement readers on good and bad files: text in every dialect
// (separators, decimal comma, headers, units of the frequency column, one
// column at a given rate), the universal file's data set 58 (even and uneven
// abscissa, real and complex values, spectra and time records), WAV files
// written by libsndfile in each sample format; and every refusal naming the
// file and, in a text, the line.
#include "spectrum/file_reader.h"
#include "spectrum/uff_reader.h"
#include "spectrum/view_settings.h"
#include "spectrum/wav_reader.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace spectrum;

namespace {

TextOptions hertz() {
    return {};
}

// A UFF 58 record: the header lines as the format lays them out, then the
// values as given.
QByteArray uff(int functionType, int ordinateType, int count, int even, double minimum,
               double increment, int abscissaType, const QByteArray &values) {
    QByteArray r = "    -1\n    58\n";
    r += "Spectrum of point 1\nNONE\n01-Jan-26 00:00:00\nNONE\nNONE\n";
    r += QByteArray::number(functionType).rightJustified(5, ' ') +
         "         1    0         0       NONE         1   3       NONE         1   3\n";
    r += QByteArray::number(ordinateType).rightJustified(10, ' ') +
         QByteArray::number(count).rightJustified(10, ' ') +
         QByteArray::number(even).rightJustified(10, ' ') + "  " +
         QByteArray::number(minimum, 'E', 5) + "  " + QByteArray::number(increment, 'E', 5) +
         "  0.00000E+00\n";
    r += QByteArray::number(abscissaType).rightJustified(10, ' ') +
         "    0    0    0 Frequency            Hz\n";
    r += "        12    1    0    0 Acceleration         m/s^2\n";
    r += "         0    0    0    0 NONE                 NONE\n";
    r += "         0    0    0    0 NONE                 NONE\n";
    r += values;
    r += "    -1\n";
    return r;
}

QByteArray wav(int format, int channels, int rate, const std::vector<double> &first) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("t.wav")));
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE *f = sf_open(path.constData(), SFM_WRITE, &info);
    if (!f)
        return {};
    std::vector<double> frames;
    for (double v : first)
        for (int c = 0; c < channels; ++c)
            frames.push_back(c == 0 ? v : -0.25);
    sf_writef_double(f, frames.data(), sf_count_t(first.size()));
    sf_close(f);
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<double> sine(std::size_t n) {
    std::vector<double> v(n);
    for (std::size_t j = 0; j < n; ++j)
        v[j] = 0.5 * std::sin(2 * std::numbers::pi * 50 * double(j) / 1000.0);
    return v;
}

} // namespace

class SpectrumReadersTest : public QObject {
    Q_OBJECT

private slots:
    void text_spectrum_in_every_dialect_data();
    void text_spectrum_in_every_dialect();
    void text_frequency_units_data();
    void text_frequency_units();
    void one_column_is_a_waveform_at_the_given_rate();
    void bad_text_names_file_and_line_data();
    void bad_text_names_file_and_line();
    void uff_spectra_and_time_records_data();
    void uff_spectra_and_time_records();
    void bad_uff_is_refused_data();
    void bad_uff_is_refused();
    void wav_in_each_sample_format_data();
    void wav_in_each_sample_format();
    void bad_wav_is_refused_data();
    void bad_wav_is_refused();
    void files_that_are_no_measurement_are_refused();
    void window_settings_read_back_and_bad_ones_fall_back_data();
    void window_settings_read_back_and_bad_ones_fall_back();
};

void SpectrumReadersTest::text_spectrum_in_every_dialect_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::vector<double>>("frequency");
    QTest::addColumn<std::vector<double>>("amplitude");
    const std::vector<double> f{10, 10.5, 11}, a{0.25, 1.5, 0.125};
    QTest::newRow("semicolon, decimal comma, header")
        << QByteArray("Частота, Гц;Амплитуда, мм/с\n10;0,25\n10,5;1,5\n11;0,125\n") << f << a;
    QTest::newRow("tab, decimal point, CR LF")
        << QByteArray("f\tA\r\n10\t0.25\r\n10.5\t1.5\r\n11\t0.125\r\n") << f << a;
    QTest::newRow("blanks, decimal comma")
        << QByteArray("10  0,25\n 10,5 1,5\n11 0,125\n") << f << a;
    QTest::newRow("comma between fields, decimal point")
        << QByteArray("Hz,g\n10.0,0.25\n10.5,1.5\n11.0,0.125\n") << f << a;
    QTest::newRow("exponents, extra columns, blank lines, BOM")
        << QByteArray("\xEF\xBB\xBF# export\n\n1e1;2.5E-1;7\n1.05e+1;1.5;8\n\n1.1E1;1.25e-1;9\n\n")
        << f << a;
    QTest::newRow("trailing separator") << QByteArray("10;0,25;\n10,5;1,5;\n11;0,125;\n") << f << a;
    // Longer than the head looked at to tell the formats apart.
    QTest::newRow("a file past the first 4 KiB")
        << QByteArray("# " + QByteArray(5000, 'x') + "\n10;0,25\n10,5;1,5\n11;0,125\n") << f << a;
}

void SpectrumReadersTest::text_spectrum_in_every_dialect() {
    QFETCH(QByteArray, bytes);
    QFETCH(std::vector<double>, frequency);
    QFETCH(std::vector<double>, amplitude);
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("s.txt"), hertz());
    QVERIFY2(out.measurement, qPrintable(out.message));
    QVERIFY(out.measurement->spectrum);
    QCOMPARE(out.measurement->spectrum->frequency, frequency);
    QCOMPARE(out.measurement->spectrum->amplitude, amplitude);
    QCOMPARE(out.measurement->spectrum->resolution, 0.5);
}

void SpectrumReadersTest::text_frequency_units_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("ordersHertz");
    QTest::addColumn<double>("first"); // Hz of the first line, "60;1"
    QTest::newRow("Гц") << int(FrequencyUnit::Hertz) << 0.0 << 60.0;
    QTest::newRow("об/мин") << int(FrequencyUnit::PerMinute) << 0.0 << 1.0;
    QTest::newRow("orders of a 24,5 Hz shaft") << int(FrequencyUnit::Orders) << 24.5 << 1470.0;
}

void SpectrumReadersTest::text_frequency_units() {
    QFETCH(int, unit);
    QFETCH(double, ordersHertz);
    QFETCH(double, first);
    TextOptions o;
    o.unit = FrequencyUnit(unit);
    o.ordersHertz = ordersHertz;
    const ReadOutcome out = readMeasurementBytes("60;1\n120;2\n", QStringLiteral("u.csv"), o);
    QVERIFY2(out.measurement, qPrintable(out.message));
    QCOMPARE(out.measurement->spectrum->frequency.front(), first);
    QCOMPARE(out.measurement->spectrum->resolution, first);
    // What orders were taken at, so that the spectrum can follow its shaft.
    QCOMPARE(out.measurement->ordersHertz, ordersHertz);
}

void SpectrumReadersTest::one_column_is_a_waveform_at_the_given_rate() {
    TextOptions o;
    o.sampleRate = 2560;
    const ReadOutcome out =
        readMeasurementBytes("Сигнал, м/с2\n0,125\n-0,5\n1e-3\n", QStringLiteral("w.txt"), o);
    QVERIFY2(out.measurement, qPrintable(out.message));
    QVERIFY(out.measurement->waveform);
    QCOMPARE(out.measurement->waveform->samples, (std::vector<double>{0.125, -0.5, 0.001}));
    QCOMPARE(out.measurement->waveform->rate, 2560.0);
    const ReadOutcome noRate = readMeasurementBytes("0,125\n-0,5\n", QStringLiteral("w.txt"), {});
    QVERIFY(!noRate.measurement);
    QVERIFY(noRate.message.contains(QStringLiteral("частоту дискретизации")));
}

void SpectrumReadersTest::bad_text_names_file_and_line_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("says");
    QTest::newRow("text after the numbers")
        << QByteArray("f;A\n1;2\n2;3\nконец\n") << 4 << "не числа";
    QTest::newRow("frequencies going down") << QByteArray("1;2\n3;4\n2;5\n") << 3 << "возрастать";
    QTest::newRow("same frequency twice") << QByteArray("1;2\n1;4\n") << 2 << "возрастать";
    QTest::newRow("negative amplitude, dB") << QByteArray("1;-20\n2;-30\n") << 1 << "дБ";
    QTest::newRow("a column missing") << QByteArray("1;2\n2\n") << 2 << "два столбца";
    QTest::newRow("second column where one began")
        << QByteArray("0,5\n1,5\n2 3\n") << 3 << "один столбец";
    QTest::newRow("inf") << QByteArray("1;2\n2;inf\n") << 2 << "не числа";
    QTest::newRow("nan") << QByteArray("1;2\nnan;2\n") << 2 << "не числа";
    QTest::newRow("beyond double") << QByteArray("1;2\n2;1e999\n") << 2 << "не числа";
    QTest::newRow("amplitude beyond 10^12") << QByteArray("1;2\n2;3e12\n") << 2 << "10¹²";
    QTest::newRow("sample beyond 10^12") << QByteArray("0,5\n-2e13\n") << 2 << "10¹²";
    QTest::newRow("no numbers at all") << QByteArray("просто текст\n") << 0 << "нет строк";
    QTest::newRow("empty file") << QByteArray() << 0 << "нет строк";
    QTest::newRow("one line of spectrum") << QByteArray("1;2\n") << 0 << "меньше двух";
}

void SpectrumReadersTest::bad_text_names_file_and_line() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, says);
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("плохой.txt"), hertz());
    QVERIFY(!out.measurement);
    QCOMPARE(out.line, line);
    QVERIFY2(out.message.startsWith(QStringLiteral("Файл «плохой.txt»")), qPrintable(out.message));
    if (line > 0)
        QVERIFY2(out.message.contains(QStringLiteral("строка %1:").arg(line)),
                 qPrintable(out.message));
    QVERIFY2(out.message.contains(says), qPrintable(out.message));
}

void SpectrumReadersTest::uff_spectra_and_time_records_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isWaveform");
    QTest::addColumn<std::vector<double>>("x"); // Hz, or the rate of a waveform
    QTest::addColumn<std::vector<double>>("y");
    QTest::newRow("auto spectrum, real single, even")
        << uff(2, 2, 3, 1, 0.0, 0.5, 18, "  1.00000E+00  2.00000E+00  3.00000E-01\n") << false
        << std::vector<double>{0, 0.5, 1} << std::vector<double>{1, 2, 0.3};
    QTest::newRow("spectrum, real double, uneven")
        << uff(12, 4, 2, 0, 0, 0, 18,
               "  1.00000E+01  2.500000000000E-01  2.00000E+01  1.250000000000E+00\n")
        << false << std::vector<double>{10, 20} << std::vector<double>{0.25, 1.25};
    QTest::newRow("frequency response, complex single, even, 3-4-5")
        << uff(4, 5, 2, 1, 5, 5, 18, "  3.00000E+00 -4.00000E+00  0.00000E+00  1.00000E+00\n")
        << false << std::vector<double>{5, 10} << std::vector<double>{5, 1};
    QTest::newRow("fields that touch, exponent with D")
        << uff(2, 2, 2, 1, 0, 1, 18, " 1.00000D+00-2.00000E+00\n") << false
        << std::vector<double>{0, 1} << std::vector<double>{1, 2};
    QTest::newRow("abscissa in об/мин")
        << uff(12, 2, 2, 1, 60, 60, 19, " 1.0E+00 2.0E+00\n") << false << std::vector<double>{1, 2}
        << std::vector<double>{1, 2};
    QTest::newRow("time record at 1/0,001 s")
        << uff(1, 2, 4, 1, 0, 0.001, 17, "  1.00000E+00 -1.00000E+00  5.00000E-01 -5.00000E-01\n")
        << true << std::vector<double>{1000} << std::vector<double>{1, -1, 0.5, -0.5};
    QTest::newRow("function type beyond any code: a spectrum")
        << uff(2, 2, 2, 1, 0, 1, 18, " 4.0 5.0\n")
               .replace("    2         1    0         0       NONE",
                        "1E+20         1    0         0       NONE")
        << false << std::vector<double>{0, 1} << std::vector<double>{4, 5};
    QTest::newRow("another data set first")
        << QByteArray("    -1\n   151\nmodel\n    -1\n") + uff(2, 2, 2, 1, 0, 1, 18, " 4.0 5.0\n")
        << false << std::vector<double>{0, 1} << std::vector<double>{4, 5};
}

void SpectrumReadersTest::uff_spectra_and_time_records() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isWaveform);
    QFETCH(std::vector<double>, x);
    QFETCH(std::vector<double>, y);
    QVERIFY(looksLikeUff(bytes));
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("r.uff"), hertz());
    QVERIFY2(out.measurement, qPrintable(out.message));
    if (isWaveform) {
        QVERIFY(out.measurement->waveform);
        QCOMPARE(out.measurement->waveform->rate, x.front());
        QCOMPARE(out.measurement->waveform->samples, y);
        return;
    }
    QVERIFY(out.measurement->spectrum);
    QCOMPARE(out.measurement->spectrum->frequency, x);
    QCOMPARE(out.measurement->spectrum->amplitude, y);
}

void SpectrumReadersTest::bad_uff_is_refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("fewer values than record 7 says")
        << uff(2, 2, 4, 1, 0, 1, 18, " 1.0 2.0 3.0\n") << "меньше";
    QTest::newRow("more values than record 7 says")
        << uff(2, 2, 2, 1, 0, 1, 18, " 1.0 2.0 3.0\n") << "больше";
    QTest::newRow("text among the values") << uff(2, 2, 2, 1, 0, 1, 18, " 1.0 abc\n") << "не число";
    QTest::newRow("unknown ordinate type")
        << uff(2, 3, 2, 1, 0, 1, 18, " 1.0 2.0\n") << "тип значений";
    QTest::newRow("count beyond the bound")
        << uff(2, 2, 20000000, 1, 0, 1, 18, " 1.0 2.0\n") << "число значений";
    QTest::newRow("zero increment") << uff(2, 2, 2, 1, 0, 0, 18, " 1.0 2.0\n") << "шаг";
    QTest::newRow("value beyond 10^12") << uff(2, 2, 2, 1, 0, 1, 18, " 1.0 2.0E+20\n") << "10¹²";

    QTest::newRow("uneven time record")
        << uff(1, 2, 2, 0, 0, 0, 17, " 0 1.0 1 2.0\n") << "неравным";
    QTest::newRow("binary variant") << QByteArray("    -1\n    58b     1     1\n") << "58b";
    QTest::newRow("no data set 58") << QByteArray("    -1\n   151\nx\n    -1\n") << "нет набора";
    QTest::newRow("cut before the values") << QByteArray("    -1\n    58\nx\ny\n") << "оборван";
}

void SpectrumReadersTest::bad_uff_is_refused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("r.unv"), hertz());
    QVERIFY(!out.measurement);
    QVERIFY2(out.message.startsWith(QStringLiteral("Файл «r.unv»")), qPrintable(out.message));
    QVERIFY2(out.message.contains(says), qPrintable(out.message));
}

void SpectrumReadersTest::wav_in_each_sample_format_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("channels");
    QTest::addColumn<double>("quantum"); // the largest rounding of a sample
    QTest::newRow("16-bit integer") << int(SF_FORMAT_PCM_16) << 1 << 1.0 / 32768;
    QTest::newRow("24-bit integer, two channels") << int(SF_FORMAT_PCM_24) << 2 << 1.0 / 8388608;
    QTest::newRow("32-bit integer") << int(SF_FORMAT_PCM_32) << 1 << 1e-9;
    QTest::newRow("32-bit float, three channels") << int(SF_FORMAT_FLOAT) << 3 << 1e-7;
    QTest::newRow("64-bit float") << int(SF_FORMAT_DOUBLE) << 1 << 1e-15;
}

void SpectrumReadersTest::wav_in_each_sample_format() {
    QFETCH(int, format);
    QFETCH(int, channels);
    QFETCH(double, quantum);
    const std::vector<double> s = sine(1000);
    const QByteArray bytes = wav(format, channels, 1000, s);
    QVERIFY(looksLikeWav(bytes));
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("a.wav"), hertz());
    QVERIFY2(out.measurement, qPrintable(out.message));
    const Waveform &w = *out.measurement->waveform;
    QCOMPARE(w.rate, 1000.0);
    QCOMPARE(w.samples.size(), s.size());
    for (std::size_t j = 0; j < s.size(); ++j)
        QVERIFY2(std::abs(w.samples[j] - s[j]) <= quantum, qPrintable(QString::number(j)));
    QCOMPARE(out.measurement->note.contains(QStringLiteral("канал 1 из")), channels > 1);
}

void SpectrumReadersTest::bad_wav_is_refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = wav(SF_FORMAT_PCM_16, 1, 1000, sine(100));
    QTest::newRow("header only") << good.left(20);
    QTest::newRow("RIFF and garbage") << QByteArray("RIFF\xff\xff\xff\xffWAVEjunkjunkjunk", 24);
    QTest::newRow("one sample") << wav(SF_FORMAT_PCM_16, 1, 1000, {0.5});
    QTest::newRow("compressed samples") << wav(SF_FORMAT_GSM610, 1, 8000, sine(800));
    QByteArray zeroRate = good;
    zeroRate.replace(24, 4, QByteArray(4, '\0')); // the fmt chunk's sample rate
    QTest::newRow("zero sample rate") << zeroRate;
    QTest::newRow("a sample of 1e20") << wav(SF_FORMAT_DOUBLE, 1, 1000, {0.5, 1e20, 0.25});
}

void SpectrumReadersTest::bad_wav_is_refused() {
    QFETCH(QByteArray, bytes);
    const ReadOutcome out = readMeasurementBytes(bytes, QStringLiteral("b.wav"), hertz());
    QVERIFY(!out.measurement);
    QVERIFY2(out.message.startsWith(QStringLiteral("Файл «b.wav»: ")), qPrintable(out.message));
}

void SpectrumReadersTest::files_that_are_no_measurement_are_refused() {
    QTemporaryDir dir;
    // A named pipe without a writer: refused at once, never waited on.
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(readMeasurementFile(fifo, {}).message.contains(QStringLiteral("не обычный файл")));
    QVERIFY(
        readMeasurementFile(dir.path(), {}).message.contains(QStringLiteral("не обычный файл")));
    QVERIFY(readMeasurementFile(dir.filePath(QStringLiteral("нет")), {})
                .message.contains(QStringLiteral("не открывается")));
    // A file past the bound (sparse: it takes no room on the disk).
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(kFileByteLimit + 1));
    f.close();
    const ReadOutcome out = readMeasurementFile(big, {});
    QVERIFY(!out.measurement);
    QVERIFY2(out.message.contains(QStringLiteral("больше 256 МБ")), qPrintable(out.message));
}

void SpectrumReadersTest::window_settings_read_back_and_bad_ones_fall_back_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("defaults"); // everything read falls back to the defaults
    ViewSettings chosen;
    chosen.transform = {Window::FlatTop,
                        65536,
                        75,
                        Amplitude::Peak,
                        Integration::FromStandardGravity,
                        2.0,
                        true,
                        800,
                        12000};
    chosen.textUnit = FrequencyUnit::Orders;
    chosen.textOrdersShaft = 3;
    chosen.sampleRate = QStringLiteral("25 600");
    chosen.logarithmic = false;
    chosen.labels = true;
    chosen.peaks = {6.5, 200};
    chosen.maxHarmonic = 20;
    chosen.maxSideband = 0;
    chosen.hiddenFamilies = {QStringLiteral("HTF"), QStringLiteral("Боковые Fz")};
    chosen.folder = QStringLiteral("/данные/замеры");
    QTest::newRow("everything chosen") << viewSettingsBytes(chosen) << false;
    QTest::newRow("the defaults") << viewSettingsBytes({}) << true;
    QTest::newRow("out of range and of the wrong type")
        << QByteArray("{\"window\": 3, \"lines\": 1000, \"overlap\": 33, \"count\": 0, "
                      "\"threshold\": \"10\", \"maxHarmonic\": 2.5, \"textOrdersShaft\": 17, "
                      "\"logarithmic\": 1, \"hiddenFamilies\": \"HTF\"}")
        << true;
    QTest::newRow("not JSON") << QByteArray("window=1") << true;
    QTest::newRow("a list") << QByteArray("[1, 2]") << true;
}

void SpectrumReadersTest::window_settings_read_back_and_bad_ones_fall_back() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, defaults);
    const ViewSettings read = readViewSettings(bytes);
    QCOMPARE(read == ViewSettings{}, defaults);
    QVERIFY(readViewSettings(viewSettingsBytes(read)) == read);
    if (!defaults) {
        QCOMPARE(read.transform.lines, 65536);
        QCOMPARE(read.hiddenFamilies, (QStringList{"HTF", QStringLiteral("Боковые Fz")}));
        QCOMPARE(read.folder, QStringLiteral("/данные/замеры"));
    }
}

QTEST_GUILESS_MAIN(SpectrumReadersTest)
#include "tst_spectrum_readers.moc"
