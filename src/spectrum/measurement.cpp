// The messages and the line spacing shared by the readers.
#include "spectrum/measurement.h"

#include <algorithm>

namespace spectrum {

QString faultText(const QString &fileName, int line, const QString &what) {
    if (line > 0)
        return QStringLiteral("Файл «%1», строка %2: %3").arg(fileName).arg(line).arg(what);
    return QStringLiteral("Файл «%1»: %2").arg(fileName, what);
}

QString tooLargeText() {
    return QStringLiteral("значение больше 10¹² по модулю: это не измерение.");
}

double medianSpacing(const std::vector<double> &frequency) {
    if (frequency.size() < 2)
        return 0.0;
    std::vector<double> steps(frequency.size() - 1);
    for (std::size_t i = 0; i + 1 < frequency.size(); ++i)
        steps[i] = frequency[i + 1] - frequency[i];
    const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

} // namespace spectrum
