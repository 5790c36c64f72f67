// The texts of the search controls' state.
#include "search/search_controls.h"

namespace search {

QString SearchControls::modeText() const {
    return isAutomatic ? QStringLiteral("1") : QStringLiteral("0");
}

QString SearchControls::modeCaption() const {
    return isAutomatic ? QStringLiteral("Ручной поиск") : QStringLiteral("Автопоиск");
}

QString SearchControls::stepText() const {
    return isHalfStep ? QStringLiteral("0,5") : QStringLiteral("1");
}

QString SearchControls::stepCaption() const {
    return isHalfStep ? QStringLiteral(">") : QStringLiteral("<");
}

} // namespace search
