// Reading data set 58 of an ASCII universal file.
#include "spectrum/uff_reader.h"

#include "spectrum/line_text.h"

#include <cmath>
#include <string_view>

namespace spectrum {

namespace {

using line_text::isBlank;
using line_text::trimmed;

struct Lines {
    std::vector<std::string_view> text;
    explicit Lines(const QByteArray &bytes) {
        std::string_view all(bytes.constData(), std::size_t(bytes.size()));
        std::size_t start = 0;
        while (start < all.size()) {
            const std::size_t end = std::min(all.find('\n', start), all.size());
            text.push_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
};

// The fields of a line: blank-separated, and two fixed-width fields that
// touch ("1.5E+00-2.5E+00") split where a sign follows a digit.
template <class Each> bool eachField(std::string_view line, Each &&each) {
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        std::size_t end = i;
        while (end < line.size() && !isBlank(line[end])) {
            if (end > i && (line[end] == '-' || line[end] == '+') && line[end - 1] >= '0' &&
                line[end - 1] <= '9')
                break;
            ++end;
        }
        if (end > i && !each(line.substr(i, end - i)))
            return false;
        i = end;
    }
    return true;
}

// A Fortran number: the exponent may be written with D.
std::optional<double> fortranNumber(std::string_view field) {
    if (field.size() > 64)
        return std::nullopt;
    char buf[64];
    for (std::size_t i = 0; i < field.size(); ++i)
        buf[i] = field[i] == 'D' || field[i] == 'd' ? 'E' : field[i];
    return readField(std::string_view(buf, field.size()), false);
}

// The first `wanted` fields of a header record as numbers (the fields after
// them may be names); fails when one of those is no number.
std::optional<std::vector<double>> numbers(std::string_view line, std::size_t wanted) {
    std::vector<double> out;
    bool ok = true;
    eachField(line, [&](std::string_view f) {
        if (out.size() >= wanted)
            return false;
        const auto v = fortranNumber(f);
        if (v)
            out.push_back(*v);
        ok = v.has_value();
        return ok;
    });
    if (!ok || out.size() < wanted)
        return std::nullopt;
    return out;
}

// A code of the header (a function or data type): a whole number in a range,
// or -1 for anything else.
int code(double v, int high) {
    return v >= 0.0 && v <= high && v == std::floor(v) ? int(v) : -1;
}

struct Header {
    int functionType = 0;
    int ordinateType = 0;
    std::size_t count = 0;
    bool even = true;
    double minimum = 0.0, increment = 0.0;
    int abscissaType = 0;
};

class Reader {
public:
    Reader(const QByteArray &bytes, const QString &fileName, const TextOptions &options)
        : lines(bytes), fileName(fileName), options(options) {}
    ReadOutcome read();

private:
    Lines lines;
    const QString &fileName;
    const TextOptions &options;

    ReadOutcome fault(std::size_t index, const QString &what) const {
        const int line = int(index) + 1;
        return {std::nullopt, faultText(fileName, line, what), line};
    }
    std::optional<std::size_t> findDataSet(QString *refusal) const;
    ReadOutcome readHeader(std::size_t at, Header &h) const;
    ReadOutcome readValues(std::size_t at, const Header &h);
    ReadOutcome spectrumOf(std::size_t at, const Header &h, const std::vector<double> &values,
                           std::size_t perValue) const;
};

std::optional<std::size_t> Reader::findDataSet(QString *refusal) const {
    const std::vector<std::string_view> &t = lines.text;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (trimmed(t[i]) != "-1")
            continue;
        std::string_view id = trimmed(t[i + 1]);
        id = id.substr(0, id.find_first_of(" \t"));
        if (id == "58")
            return i + 2;
        if (id == "58b" || id == "58B")
            *refusal = QStringLiteral("двоичный вариант набора 58 (58b) не читается: "
                                      "экспортируйте в текстовом (ASCII) виде.");
        // Skip to the end of this data set.
        for (i += 2; i < t.size() && trimmed(t[i]) != "-1"; ++i) {
        }
    }
    return std::nullopt;
}

ReadOutcome Reader::readHeader(std::size_t at, Header &h) const {
    const std::vector<std::string_view> &t = lines.text;
    if (at + 11 > t.size())
        return fault(t.size() ? t.size() - 1 : 0, QStringLiteral("набор 58 оборван до данных."));
    const auto r6 = numbers(t[at + 5], 1);
    if (!r6)
        return fault(at + 5, QStringLiteral("запись 6 (тип функции) — не числа."));
    const auto r7 = numbers(t[at + 6], 5);
    if (!r7)
        return fault(at + 6, QStringLiteral("запись 7 (тип и число значений) — не числа."));
    const auto r8 = numbers(t[at + 7], 1);
    h.functionType = code((*r6)[0], 99);
    h.ordinateType = code((*r7)[0], 99);
    const double count = (*r7)[1];
    h.even = (*r7)[2] != 0.0;
    h.minimum = (*r7)[3];
    h.increment = (*r7)[4];
    h.abscissaType = r8 ? code((*r8)[0], 99) : 0;
    if (h.ordinateType != 2 && h.ordinateType != 4 && h.ordinateType != 5 && h.ordinateType != 6)
        return fault(
            at + 6,
            QStringLiteral("тип значений %1 неизвестен (бывают 2, 4, 5, 6).").arg(h.ordinateType));
    if (!(count >= 2) || count > double(kSampleLimit))
        return fault(
            at + 6,
            QStringLiteral("число значений %1 — не от 2 до %2.").arg(count).arg(kSampleLimit));
    h.count = std::size_t(count);
    if (h.even && !(h.increment > 0.0 && keepable(h.increment) && keepable(h.minimum)))
        return fault(at + 6, QStringLiteral("шаг по оси абсцисс должен быть больше нуля."));
    return {};
}

ReadOutcome Reader::readValues(std::size_t at, const Header &h) {
    const bool complex = h.ordinateType == 5 || h.ordinateType == 6;
    const bool time = h.functionType == 1 || h.abscissaType == 17;
    if (time && !h.even)
        return fault(at - 5, QStringLiteral("временная запись с неравным шагом не читается."));
    if (time && !std::isfinite(1.0 / h.increment))
        return fault(at - 5, QStringLiteral("шаг по времени слишком мал."));
    const std::size_t perValue = (complex ? 2 : 1) + (h.even ? 0 : 1);
    std::vector<double> values;
    values.reserve(std::min<std::size_t>(h.count * perValue, 1 << 20));
    std::size_t i = at;
    for (; i < lines.text.size() && trimmed(lines.text[i]) != "-1"; ++i) {
        bool tooMany = false;
        const bool ok = eachField(lines.text[i], [&](std::string_view f) {
            const auto v = fortranNumber(f);
            if (!v || !keepable(*v))
                return false;
            tooMany = values.size() >= h.count * perValue;
            values.push_back(*v);
            return !tooMany;
        });
        if (tooMany)
            return fault(
                i, QStringLiteral("значений больше, чем сказано в записи 7 (%1).").arg(h.count));
        if (!ok)
            return fault(i, QStringLiteral("в данных не число или ") + tooLargeText());
    }
    if (values.size() < h.count * perValue)
        return fault(std::min(i, lines.text.size() - 1),
                     QStringLiteral("значений меньше, чем сказано в записи 7 (%1).").arg(h.count));
    Measurement m;
    if (time) {
        Waveform w{std::vector<double>(h.count), 1.0 / h.increment};
        for (std::size_t k = 0; k < h.count; ++k)
            w.samples[k] = values[k * perValue];
        m.note = QStringLiteral("UFF 58, временная запись, %1 отсчётов").arg(h.count);
        m.waveform = std::move(w);
        return {std::move(m), {}, 0};
    }
    return spectrumOf(at, h, values, perValue);
}

ReadOutcome Reader::spectrumOf(std::size_t at, const Header &h, const std::vector<double> &values,
                               std::size_t perValue) const {
    const bool complex = h.ordinateType == 5 || h.ordinateType == 6;
    Measurement m;
    double factor = 1.0;
    if (h.abscissaType == 19)
        factor = 1.0 / 60.0;
    else if (h.abscissaType == 20)
        factor = options.ordersHertz;
    if (!(factor > 0.0) || !std::isfinite(factor))
        return fault(at - 4, QStringLiteral("ось в порядках, а частота вала неизвестна."));
    Spectrum s;
    s.frequency.resize(h.count);
    s.amplitude.resize(h.count);
    for (std::size_t k = 0; k < h.count; ++k) {
        const double *v = values.data() + k * perValue;
        const double x = h.even ? h.minimum + double(k) * h.increment : *v++;
        s.frequency[k] = keepable(x * factor) ? x * factor : -1.0;
        s.amplitude[k] = complex ? std::hypot(v[0], v[1]) : std::abs(v[0]);
        if (!std::isfinite(s.frequency[k]) || s.frequency[k] < 0.0 ||
            (k > 0 && !(s.frequency[k] > s.frequency[k - 1])) || !std::isfinite(s.amplitude[k]))
            return fault(at, QStringLiteral("частоты должны быть не меньше нуля и возрастать, "
                                            "значения — конечны (значение %1).")
                                 .arg(k + 1));
    }
    s.resolution = h.even ? h.increment * factor : medianSpacing(s.frequency);
    m.note = QStringLiteral("UFF 58, спектр, %1 линий").arg(h.count);
    m.spectrum = std::move(s);
    if (h.abscissaType == 20)
        m.ordersHertz = factor;
    return {std::move(m), {}, 0};
}

ReadOutcome Reader::read() {
    QString refusal;
    const std::optional<std::size_t> at = findDataSet(&refusal);
    if (!at)
        return {std::nullopt,
                faultText(fileName, 0,
                          refusal.isEmpty() ? QStringLiteral("в файле нет набора данных 58.")
                                            : refusal),
                0};
    Header h;
    if (ReadOutcome bad = readHeader(*at, h); !bad.message.isEmpty())
        return bad;
    return readValues(*at + 11, h);
}

} // namespace

bool looksLikeUff(const QByteArray &bytes) {
    // The head is kept while its lines are looked at: they point into it.
    const QByteArray head = bytes.left(4096);
    const Lines lines(head);
    std::size_t i = 0;
    while (i < lines.text.size() && trimmed(lines.text[i]).empty())
        ++i;
    if (i + 1 >= lines.text.size() || trimmed(lines.text[i]) != "-1")
        return false;
    const std::string_view id = trimmed(lines.text[i + 1]);
    return !id.empty() && id.front() >= '0' && id.front() <= '9';
}

ReadOutcome readUff(const QByteArray &bytes, const QString &fileName, const TextOptions &options) {
    return Reader(bytes, fileName, options).read();
}

} // namespace spectrum
