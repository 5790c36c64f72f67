// Reading two-column spectra and one-column waveforms from text.
#include "spectrum/text_reader.h"

#include "spectrum/line_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace spectrum {

namespace {

enum class Separator : std::uint8_t { Semicolon, Tab, Comma, Blanks };

struct Dialect {
    Separator separator = Separator::Blanks;
    bool decimalComma = true; // a comma may be a decimal comma
};

using line_text::isBlank;
using line_text::trimmed;

// Splits a trimmed line into at most `room` fields (one more than wanted,
// so that a line with too many is seen); returns how many there are.
template <std::size_t N>
std::size_t split(std::string_view line, const Dialect &d, std::array<std::string_view, N> &out) {
    std::size_t count = 0;
    if (d.separator == Separator::Blanks) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && isBlank(line[i]))
                ++i;
            const std::size_t start = i;
            while (i < line.size() && !isBlank(line[i]))
                ++i;
            if (i > start && count < N)
                out[count] = line.substr(start, i - start);
            count += i > start ? 1 : 0;
        }
        return count;
    }
    const char sep = d.separator == Separator::Semicolon ? ';'
                     : d.separator == Separator::Tab     ? '\t'
                                                         : ',';
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(sep, start);
        const std::string_view field =
            trimmed(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (count < N)
            out[count] = field;
        ++count;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    // A separator closing the line ("12,5;0,3;") leaves no field after it.
    if (count > 1 && count <= N && out[count - 1].empty())
        --count;
    return count;
}

Dialect dialectOf(std::string_view line) {
    if (line.find(';') != std::string_view::npos)
        return {Separator::Semicolon, true};
    if (line.find('\t') != std::string_view::npos)
        return {Separator::Tab, true};
    const auto commas = std::count(line.begin(), line.end(), ',');
    if (commas == 0)
        return {Separator::Blanks, false};
    std::array<std::string_view, 2> fields;
    if (split(line, {Separator::Blanks, true}, fields) >= 2)
        return {Separator::Blanks, true};
    if (line.find('.') != std::string_view::npos || commas >= 2)
        return {Separator::Comma, false};
    return {Separator::Blanks, true};
}

struct Numbers {
    std::array<double, 2> values{};
    std::size_t count = 0; // fields in the line
    bool ok = false;
};

Numbers readLine(std::string_view line, const Dialect &d) {
    std::array<std::string_view, 3> fields;
    Numbers n;
    n.count = split(line, d, fields);
    if (n.count == 0)
        return n;
    for (std::size_t i = 0; i < std::min<std::size_t>(n.count, 2); ++i) {
        const std::optional<double> v = readField(fields[i], d.decimalComma);
        if (!v)
            return n;
        n.values[i] = *v;
    }
    // The columns after the second are not read, but must not be text either.
    if (n.count > 2 && !readField(fields[2], d.decimalComma))
        return n;
    n.ok = true;
    return n;
}

QString shown(std::string_view line) {
    const QString text =
        QString::fromUtf8(line.data(), qsizetype(std::min<std::size_t>(line.size(), 60)));
    return line.size() > 60 ? text + QStringLiteral("…") : text;
}

double hertzFactor(const TextOptions &o) {
    switch (o.unit) {
    case FrequencyUnit::Hertz:
        return 1.0;
    case FrequencyUnit::PerMinute:
        return 1.0 / 60.0;
    case FrequencyUnit::Orders:
        return o.ordersHertz;
    }
    return 1.0;
}

// What the lines of numbers build up, and the checks each line passes.
struct Builder {
    const TextOptions &options;
    std::size_t columns = 0;
    std::vector<double> first, second;
    double factor = 1.0;

    QString add(const Numbers &n) {
        if ((columns == 1) != (n.count == 1))
            return columns == 1
                       ? QStringLiteral("ожидался один столбец (сигнал), а их %1.").arg(n.count)
                       : QStringLiteral("ожидались два столбца (частота и амплитуда).");
        if (first.size() >= kSampleLimit)
            return QStringLiteral("больше %1 строк данных: такой файл не читается.")
                .arg(kSampleLimit);
        if (!keepable(n.values[0]) || (columns == 2 && !keepable(n.values[1])))
            return tooLargeText();
        if (columns == 1) {
            first.push_back(n.values[0]);
            return {};
        }
        const double f = n.values[0] * factor;
        if (!keepable(f))
            return tooLargeText();
        if (f < 0.0)
            return QStringLiteral("частота не может быть отрицательной.");
        if (!first.empty() && !(f > first.back()))
            return QStringLiteral("частоты должны возрастать от строки к строке.");
        if (n.values[1] < 0.0)
            return QStringLiteral("амплитуда отрицательна (уровни в дБ не читаются, нужна "
                                  "линейная амплитуда).");
        first.push_back(f);
        second.push_back(n.values[1]);
        return {};
    }
};

ReadOutcome finish(Builder &b, const QString &fileName) {
    ReadOutcome out;
    if (b.columns == 0) {
        out.message = faultText(fileName, 0, QStringLiteral("в файле нет строк с числами."));
        return out;
    }
    Measurement m;
    if (b.columns == 1) {
        if (!(b.options.sampleRate > 0.0) || !std::isfinite(b.options.sampleRate)) {
            out.message = faultText(fileName, 0,
                                    QStringLiteral("сигнал в одном столбце: задайте частоту "
                                                   "дискретизации."));
            return out;
        }
        m.waveform = Waveform{std::move(b.first), b.options.sampleRate};
        m.note = QStringLiteral("сигнал, %1 отсчётов").arg(m.waveform->samples.size());
    } else {
        if (b.first.size() < 2) {
            out.message = faultText(fileName, 0, QStringLiteral("в спектре меньше двух строк."));
            return out;
        }
        Spectrum s;
        s.frequency = std::move(b.first);
        s.amplitude = std::move(b.second);
        s.resolution = medianSpacing(s.frequency);
        m.note = QStringLiteral("спектр, %1 линий").arg(s.frequency.size());
        m.spectrum = std::move(s);
        if (b.options.unit == FrequencyUnit::Orders)
            m.ordersHertz = b.options.ordersHertz;
    }
    out.measurement = std::move(m);
    return out;
}

} // namespace

std::optional<double> readField(std::string_view field, bool decimalComma) {
    if (field.empty() || field.size() > 64)
        return std::nullopt;
    char buf[65];
    std::size_t n = 0;
    bool point = false, exponent = false, digits = false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == ',' && decimalComma)
            c = '.';
        const bool signPlace = i == 0 || (exponent && (field[i - 1] == 'e' || field[i - 1] == 'E'));
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point && !exponent)
            point = true;
        else if ((c == 'e' || c == 'E') && digits && !exponent)
            exponent = true;
        else if (!((c == '-' || c == '+') && signPlace))
            return std::nullopt;
        // from_chars takes no leading plus.
        if (!(c == '+' && i == 0))
            buf[n++] = c;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(buf, buf + n, value);
    if (ec != std::errc() || end != buf + n || !digits || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ReadOutcome readText(const QByteArray &bytes, const QString &fileName, const TextOptions &options) {
    std::string_view all(bytes.constData(), std::size_t(bytes.size()));
    if (all.starts_with("\xEF\xBB\xBF"))
        all.remove_prefix(3);
    Builder b{options, 0, {}, {}, hertzFactor(options)};
    if (!(b.factor > 0.0) || !std::isfinite(b.factor))
        return {std::nullopt,
                faultText(fileName, 0, QStringLiteral("частота вала для порядков неизвестна.")), 0};
    Dialect dialect;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find('\n', start), all.size());
        const std::string_view line = trimmed(all.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty())
            continue;
        if (b.columns == 0)
            dialect = dialectOf(line);
        const Numbers n = readLine(line, dialect);
        if (!n.ok && b.columns == 0)
            continue; // still the header
        QString fault =
            n.ok ? QString() : QStringLiteral("«%1» — не числа данных.").arg(shown(line));
        if (n.ok && b.columns == 0)
            b.columns = n.count == 1 ? 1 : 2;
        if (fault.isEmpty())
            fault = b.add(n);
        if (!fault.isEmpty())
            return {std::nullopt, faultText(fileName, lineNumber, fault), lineNumber};
    }
    return finish(b, fileName);
}

} // namespace spectrum
