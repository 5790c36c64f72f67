// The keypad's transitions.
#include "entry/keypad.h"

namespace entry {

namespace {
bool isSingleBlank(const QString &text) {
    return text == QLatin1String(" ");
}
} // namespace

void pressKey(KeypadState &state, QString &entryText, QChar key) {
    if (state.FreshEntry) {
        state.FreshEntry = false;
        entryText.clear();
    }
    entryText += key;
}

void resetEntry(KeypadState &state, QString &entryText) {
    if (!entryText.isEmpty())
        state.LastEntry = entryText;
    entryText.clear();
}

std::optional<QString> transfer(KeypadState &state, QString &entryText, Quantity q) {
    state.KeypadTarget = static_cast<std::int32_t>(q);
    state.LastEntry = entryText;
    if (entryText.isEmpty())
        return std::nullopt;
    QString moved = entryText;
    entryText.clear();
    // Marked even when the field already held the same text.
    state.setMarked(q, true);
    return moved;
}

std::optional<QString> inputFieldChanged(KeypadState &state, Quantity q, const QString &text) {
    if (isSingleBlank(text)) {
        state.setMarked(q, false);
        return QString();
    }
    state.setMarked(q, !text.isEmpty());
    return std::nullopt;
}

std::optional<QString> entryFieldChanged(const QString &text) {
    if (isSingleBlank(text))
        return QString();
    return std::nullopt;
}

void calculationSucceeded(KeypadState &state) {
    state.clearMarks();
}

void startFreshEntry(KeypadState &state) {
    state.FreshEntry = true;
}

TakeBack takeBack(const KeypadState &state) {
    TakeBack t;
    if (state.KeypadTarget >= 1 && state.KeypadTarget <= kQuantityCount) {
        t.target = static_cast<Quantity>(state.KeypadTarget);
        t.inputText = QStringLiteral("0");
    }
    t.entryText = state.LastEntry;
    return t;
}

void finishTakeBack(KeypadState &state, const TakeBack &takeBack) {
    if (takeBack.target)
        state.setMarked(*takeBack.target, false);
}

QString takeBackHint(const KeypadState &state) {
    return QStringLiteral("Вернуть (") + state.LastEntry + QLatin1Char(')');
}

} // namespace entry
