// The keypad's entry state: FreshEntry, KeypadTarget, LastEntry and the marks
// of the four quantities (a marked quantity's transfer buttons are blue), and
// the transitions of the keypad keys, the reset key "С", the transfer buttons,
// the change rules of the input fields and of the entry field, and the take
// back "В". The entry field's text lives in its edit; the functions take it
// by reference where they change it.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace entry {

// The values are those KeypadTarget takes.
enum class Quantity : std::int32_t { Z1 = 1, Fr1 = 2, Z2 = 3, Fm = 4 };
inline constexpr int kQuantityCount = 4;
inline constexpr std::array<Quantity, kQuantityCount> kQuantities{Quantity::Z1, Quantity::Fr1,
                                                                  Quantity::Z2, Quantity::Fm};

struct KeypadState {
    // The next digit or comma first empties the entry field.
    bool FreshEntry = false;
    // 0 until the first transfer button, then the last quantity pressed (1 to 4).
    std::int32_t KeypadTarget = 0;
    // The entry text just before the last transfer or reset.
    QString LastEntry;
    bool marked(Quantity q) const { return marks[index(q)]; }
    void setMarked(Quantity q, bool on) { marks[index(q)] = on; }
    void clearMarks() { marks.fill(false); }

    static std::size_t index(Quantity q) { return static_cast<std::size_t>(q) - 1; }

private:
    // Per quantity, in the order of kQuantities; all unmarked at start.
    std::array<bool, kQuantityCount> marks{};
};

// A digit key ('0' to '9') or the comma key (','): a fresh entry starts
// empty, then the character goes to the end. Nothing else is checked.
void pressKey(KeypadState &state, QString &entryText, QChar key);

// "С" (and Ctrl+Z): a non-empty entry is kept as LastEntry, then emptied.
void resetEntry(KeypadState &state, QString &entryText);

// A transfer button of q. KeypadTarget and LastEntry always change; with a
// non-empty entry the returned text goes into q's input field, the entry is
// emptied and q is marked. FreshEntry is untouched.
std::optional<QString> transfer(KeypadState &state, QString &entryText, Quantity q);

// The change rule of q's input field, after every change of its text: a
// single blank is replaced by the empty text (returned; writing it runs the
// rule again), and q is marked unless the text ends empty.
std::optional<QString> inputFieldChanged(KeypadState &state, Quantity q, const QString &text);

// The change rule of the entry field: a single blank is replaced by the
// empty text (returned).
std::optional<QString> entryFieldChanged(const QString &text);

// A calculation succeeded: all four quantities are unmarked.
void calculationSucceeded(KeypadState &state);

// A search or a coefficient button: the next keypad key starts a new number.
void startFreshEntry(KeypadState &state);

// "В" takes back the last transfer. In this order the window
//   1. writes inputText into the target's input field, when there is a
//      target (its change rule marks the quantity),
//   2. calls finishTakeBack, which leaves the target unmarked,
//   3. writes entryText (LastEntry) into the entry field.
// KeypadTarget and LastEntry stay, so a second press does the same again.
struct TakeBack {
    std::optional<Quantity> target; // none while KeypadTarget is 0
    QString inputText;              // "0"
    QString entryText;              // LastEntry
};
TakeBack takeBack(const KeypadState &state);
void finishTakeBack(KeypadState &state, const TakeBack &takeBack);

// The hint of "В": "Вернуть (" + LastEntry + ")".
QString takeBackHint(const KeypadState &state);

} // namespace entry
