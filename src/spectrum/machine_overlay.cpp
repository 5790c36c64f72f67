// The machine's lines on a spectrum and the explanations of its peaks.
#include "spectrum/machine_overlay.h"

#include "machine/table_export.h"
#include "machine/train_table.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

Family familyOf(const machine::Line &line) {
    return {line.base, line.m != 0};
}

QString familyName(const Family &f) {
    QString base;
    switch (f.base) {
    case machine::Base::Shaft:
        return QStringLiteral("Валы");
    case machine::Base::Fz:
        base = QStringLiteral("Fz");
        break;
    case machine::Base::Apf:
        base = QStringLiteral("APF");
        break;
    case machine::Base::Htf:
        base = QStringLiteral("HTF");
        break;
    case machine::Base::Fm:
        base = QStringLiteral("Fm");
        break;
    case machine::Base::Intermodulation:
        return QStringLiteral("Fz ± Fz");
    case machine::Base::Planetary:
        base = QStringLiteral("Планетарные");
        break;
    case machine::Base::Belt:
        return QStringLiteral("Ремни");
    case machine::Base::Bearing:
        base = QStringLiteral("Подшипники");
        break;
    }
    return f.sideband ? QStringLiteral("Боковые ") + base : base;
}

Overlay machineOverlay(const machine::Train &train, const machine::LineOptions &options,
                       double top) {
    Overlay o;
    machine::forEachLine(train, options, [&](const machine::Line &line) {
        if (!(line.value > 0.0) || line.value > top)
            return;
        o.lines.push_back(line);
        const Family f = familyOf(line);
        if (std::find(o.families.begin(), o.families.end(), f) == o.families.end())
            o.families.push_back(f);
    });
    std::stable_sort(
        o.lines.begin(), o.lines.end(),
        [](const machine::Line &a, const machine::Line &b) { return a.value < b.value; });
    return o;
}

std::vector<PeakNote> notePeaks(const machine::Train &train, const std::vector<Peak> &peaks,
                                const NoteSettings &settings) {
    std::vector<PeakNote> notes;
    notes.reserve(peaks.size());
    machine::IdentifyRequest r;
    r.maxHarmonic = settings.maxHarmonic;
    r.maxSideband = settings.maxSideband;
    for (const Peak &p : peaks) {
        PeakNote note{p, {}};
        if (p.frequency > 0.0) {
            r.target = p.frequency;
            r.tolerance =
                settings.percent ? p.frequency * settings.tolerance / 100.0 : settings.tolerance;
            note.matches = machine::identify(train, r);
        }
        notes.push_back(std::move(note));
    }
    return notes;
}

QStringList peakHeadings(const machine::UnitChoice &unit) {
    const QString u = machine::unitName(unit, false);
    return {QStringLiteral("№"), QStringLiteral("Частота, ") + u, QStringLiteral("Амплитуда"),
            QStringLiteral("Объяснение"), QStringLiteral("Отклонение, ") + u};
}

QStringList peakRow(const machine::Train &train, const machine::UnitChoice &unit,
                    const PeakNote &note, int number, const machine::LineNames &lineNames) {
    const auto inUnit = [&](double hz, int digits) {
        return machine::significantText(machine::toUnit(hz, unit, train).value_or(hz), digits);
    };
    QStringList row{QString::number(number), inUnit(note.peak.frequency, 6),
                    machine::significantText(note.peak.amplitude, 4)};
    if (note.matches.empty())
        return row << QStringLiteral("не объяснён") << QString();
    const machine::MatchGroup &best = note.matches.front();
    // Three digits: a peak between lines is not placed closer than that.
    QString distance = inUnit(best.distance, 3);
    if (best.distance > 0.0)
        distance.prepend(QLatin1Char('+'));
    QStringList names;
    for (const machine::Line &l : best.lines)
        names << machine::lineName(l, lineNames);
    return row << names.join(QStringLiteral(" = ")) << distance;
}

QByteArray peakCsv(const machine::Train &train, const machine::UnitChoice &unit,
                   const std::vector<PeakNote> &notes, const machine::LineNames &names,
                   machine::CsvConvention convention) {
    // The train table's rule: every field that an import splitting at ; , or
    // tab could cut is quoted, numbers stay numbers.
    QString out;
    const auto line = [&](const QStringList &cells, bool heading) {
        QStringList shown;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const bool numeric = !heading && c != 3;
            shown << machine::csvField({cells[c], {}, false, numeric}, convention);
        }
        out += shown.join(machine::csvSeparator(convention)) + QStringLiteral("\r\n");
    };
    line(peakHeadings(unit), true);
    for (std::size_t i = 0; i < notes.size(); ++i)
        line(peakRow(train, unit, notes[i], int(i) + 1, names), false);
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace spectrum
