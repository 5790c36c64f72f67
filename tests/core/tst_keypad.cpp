// The keypad's entry state, driven as the window drives it: keys, "С",
// transfers, typing into the input fields (their change rule), a search, a
// calculation and the take back "В" with its hint; and the entry field's own
// change rule.
#include "entry/keypad.h"

#include <QTest>

using namespace entry;

namespace {

const char *const kNames[] = {"Z1", "Fr1", "Z2", "Fm"};

// The entry field and the four input fields around the keypad state, with
// the window's order of steps.
struct Window {
    KeypadState s;
    QString entry;
    std::array<QString, kQuantityCount> inputs{"", "0", "0", "0"};

    void setInput(Quantity q, const QString &text) {
        inputs[KeypadState::index(q)] = text;
        if (const std::optional<QString> replaced = inputFieldChanged(s, q, text))
            setInput(q, *replaced);
    }

    // Space-separated steps: "search", "calc", "С", "В", "→Fr1" (transfer),
    // "Z2=0" (typing into an input field; "Z2=" empties it, "_" stands for a
    // blank), or keypad keys.
    void run(const QString &script) {
        for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
            const qsizetype eq = step.indexOf('=');
            if (step == QLatin1String("search")) {
                startFreshEntry(s);
            } else if (step == QLatin1String("calc")) {
                calculationSucceeded(s);
            } else if (step == QStringLiteral("С")) {
                resetEntry(s, entry);
            } else if (step == QStringLiteral("В")) {
                const TakeBack t = takeBack(s);
                if (t.target)
                    setInput(*t.target, t.inputText);
                finishTakeBack(s, t);
                entry = t.entryText;
            } else if (step.startsWith(QStringLiteral("→"))) {
                const Quantity q = quantity(step.mid(1));
                if (const std::optional<QString> moved = transfer(s, entry, q))
                    setInput(q, *moved);
            } else if (eq > 0) {
                setInput(quantity(step.left(eq)), step.mid(eq + 1).replace('_', ' '));
            } else {
                for (const QChar key : step)
                    pressKey(s, entry, key);
            }
        }
    }

    static Quantity quantity(const QString &name) {
        for (const Quantity q : kQuantities)
            if (name == QLatin1String(kNames[KeypadState::index(q)]))
                return q;
        qFatal("no quantity %s", qPrintable(name));
    }

    QString marked() const {
        QStringList names;
        for (const Quantity q : kQuantities)
            if (s.marked(q))
                names << kNames[KeypadState::index(q)];
        return names.join(' ');
    }
};

} // namespace

class TestKeypad : public QObject {
    Q_OBJECT

private slots:
    void keypad_steps_change_entry_fields_and_marks_data();
    void keypad_steps_change_entry_fields_and_marks();
    void entry_field_single_blank_becomes_empty_data();
    void entry_field_single_blank_becomes_empty();
};

void TestKeypad::keypad_steps_change_entry_fields_and_marks_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("lastEntry");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QStringList>("inputs");
    const QStringList start = {"", "0", "0", "0"};
    // Keys and "С".
    QTest::newRow("1 comma 5 gives 1,5") << "1,5"
                                         << "1,5"
                                         << "" << 0 << "" << start;
    QTest::newRow("leading zeros stay") << "007"
                                        << "007"
                                        << "" << 0 << "" << start;
    QTest::newRow("two commas in a row") << "1,,"
                                         << "1,,"
                                         << "" << 0 << "" << start;
    QTest::newRow("after a search the first digit starts anew") << "1234 search 5 6"
                                                                << "56"
                                                                << "" << 0 << "" << start;
    QTest::newRow("after a search С leaves the fresh start set") << "12 search С 3"
                                                                 << "3"
                                                                 << "12" << 0 << "" << start;
    QTest::newRow("С on 12 keeps 12") << "12 С"
                                      << ""
                                      << "12" << 0 << "" << start;
    QTest::newRow("С on an empty entry keeps the last entry") << "9 С С"
                                                              << ""
                                                              << "9" << 0 << "" << start;
    // Transfers.
    QTest::newRow("1,5 moved into Fr1") << "1,5 →Fr1"
                                        << ""
                                        << "1,5" << 2 << "Fr1" << QStringList{"", "1,5", "0", "0"};
    QTest::newRow("an empty transfer only sets target and last entry")
        << "7 С Z2=5 →Fm"
        << ""
        << "" << 4 << "Z2" << QStringList{"", "0", "5", "0"};
    QTest::newRow("the same text moved again still marks") << "0 →Fm calc 0 →Fm"
                                                           << ""
                                                           << "0" << 4 << "Fm" << start;
    // Typing into the input fields, and the calculation.
    QTest::newRow("a single blank leaves the field empty and unmarked")
        << "Z2=5 Z2=_"
        << ""
        << "" << 0 << "" << QStringList{"", "0", "", "0"};
    QTest::newRow("two blanks are text") << "Z1=__"
                                         << ""
                                         << "" << 0 << "Z1" << QStringList{"  ", "0", "0", "0"};
    QTest::newRow("0 typed marks, deleting unmarks")
        << "Z2= Fm=0"
        << ""
        << "" << 0 << "Fm" << QStringList{"", "0", "", "0"};
    QTest::newRow("a calculation unmarks all four")
        << "Z1=4 Fr1=1 Z2=2 Fm=3 calc"
        << ""
        << "" << 0 << "" << QStringList{"4", "1", "2", "3"};
    // The take back.
    QTest::newRow("В after 1234 into Fm gives it back, Fm 0 and unmarked")
        << "1234 →Fm В"
        << "1234"
        << "1234" << 4 << "" << start;
    QTest::newRow("В after С gives the cleared number back")
        << "5 →Z1 12 С В"
        << "12"
        << "12" << 1 << "" << QStringList{"0", "0", "0", "0"};
    QTest::newRow("В twice does the same") << "5 →Z1 Z2=7 В В"
                                           << "5"
                                           << "5" << 1 << "Z2" << QStringList{"0", "0", "7", "0"};
    QTest::newRow("В before any transfer sets only the entry")
        << "34 С Z2=7 В"
        << "34"
        << "34" << 0 << "Z2" << QStringList{"", "0", "7", "0"};
}

void TestKeypad::keypad_steps_change_entry_fields_and_marks() {
    QFETCH(QString, script);
    QFETCH(QString, entry);
    QFETCH(QString, lastEntry);
    QFETCH(int, target);
    QFETCH(QString, marked);
    QFETCH(QStringList, inputs);
    Window w;
    w.run(script);
    QCOMPARE(w.entry, entry);
    QCOMPARE(w.s.LastEntry, lastEntry);
    QCOMPARE(w.s.KeypadTarget, target);
    QCOMPARE(w.marked(), marked);
    QCOMPARE(QStringList(w.inputs.begin(), w.inputs.end()), inputs);
    QCOMPARE(takeBackHint(w.s), QStringLiteral("Вернуть (") + lastEntry + ')');
}

void TestKeypad::entry_field_single_blank_becomes_empty_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("emptied");
    QTest::newRow("single blank") << " " << true;
    QTest::newRow("two blanks stay") << "  " << false;
    QTest::newRow("number with a blank stays") << "1 " << false;
    QTest::newRow("empty stays") << "" << false;
}

void TestKeypad::entry_field_single_blank_becomes_empty() {
    QFETCH(QString, text);
    QFETCH(bool, emptied);
    QCOMPARE(entryFieldChanged(text).value_or(QStringLiteral("<kept>")),
             emptied ? QString() : QStringLiteral("<kept>"));
}

QTEST_GUILESS_MAIN(TestKeypad)
#include "tst_keypad.moc"
