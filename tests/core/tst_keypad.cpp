// The keypad's entry state: keys, reset, transfers, the change rules of the
// input fields and of the entry field, the unmarking by a calculation, and
// the take back "В" with its hint.
#include "entry/keypad.h"

#include <QTest>

using namespace entry;
Q_DECLARE_METATYPE(entry::Quantity)

class TestKeypad : public QObject {
    Q_OBJECT

private slots:
    void keys_append_to_the_entry_data();
    void keys_append_to_the_entry();
    void reset_keeps_a_nonempty_entry_as_last_entry_data();
    void reset_keeps_a_nonempty_entry_as_last_entry();
    void transfer_moves_the_entry_into_its_field_data();
    void transfer_moves_the_entry_into_its_field();
    void change_rules_empty_a_single_blank_data();
    void change_rules_empty_a_single_blank();
    void successful_calculation_unmarks_all_four();
    void take_back_restores_last_entry_and_zeroes_the_target_data();
    void take_back_restores_last_entry_and_zeroes_the_target();
};

void TestKeypad::keys_append_to_the_entry_data()
{
    QTest::addColumn<bool>("fresh");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1 comma 5 gives 1,5") << false << ""
                                         << "1,5"
                                         << "1,5";
    QTest::newRow("leading zeros stay") << false << ""
                                        << "007"
                                        << "007";
    QTest::newRow("a second comma is appended like the first") << false << "1"
                                                               << ",,"
                                                               << "1,,";
    QTest::newRow("after a search the first digit replaces the frequency") << true << "1234"
                                                                           << "5"
                                                                           << "5";
    QTest::newRow("after a search the following digits append") << true << "1234"
                                                                << "56"
                                                                << "56";
    QTest::newRow("after a search the comma starts afresh too") << true << "12"
                                                                << ","
                                                                << ",";
}

void TestKeypad::keys_append_to_the_entry()
{
    QFETCH(bool, fresh);
    QFETCH(QString, entry);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    KeypadState s;
    if (fresh)
        startFreshEntry(s);
    for (const QChar key : keys)
        pressKey(s, entry, key);
    QCOMPARE(entry, expected);
    QVERIFY(!s.FreshEntry);
}

void TestKeypad::reset_keeps_a_nonempty_entry_as_last_entry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("lastEntry");
    QTest::newRow("С on 12 keeps 12") << "12"
                                      << "12";
    QTest::newRow("С on an empty entry keeps the old last entry") << ""
                                                                  << "9";
}

void TestKeypad::reset_keeps_a_nonempty_entry_as_last_entry()
{
    QFETCH(QString, entry);
    QFETCH(QString, lastEntry);
    KeypadState s{true, 3, QStringLiteral("9"), {}};
    resetEntry(s, entry);
    QCOMPARE(entry, QString());
    QCOMPARE(s.LastEntry, lastEntry);
    QVERIFY(s.FreshEntry); // neither the flag nor the target is touched
    QCOMPARE(s.KeypadTarget, 3);
}

void TestKeypad::transfer_moves_the_entry_into_its_field_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Quantity>("quantity");
    QTest::newRow("1,5 into Fr1") << "1,5" << Quantity::Fr1;
    QTest::newRow("0 into Fm counts as text") << "0" << Quantity::Fm;
    QTest::newRow("empty entry into Z2 writes nothing") << "" << Quantity::Z2;
}

void TestKeypad::transfer_moves_the_entry_into_its_field()
{
    QFETCH(QString, entry);
    QFETCH(Quantity, quantity);
    KeypadState s{true, 0, QStringLiteral("7"), {}};
    s.setMarked(Quantity::Z1, true);
    const QString typed = entry;
    const std::optional<QString> written = transfer(s, entry, quantity);
    QCOMPARE(s.KeypadTarget, std::int32_t(quantity));
    QCOMPARE(s.LastEntry, typed); // also when empty
    QCOMPARE(written.value_or(QStringLiteral("<nothing>")),
             typed.isEmpty() ? QStringLiteral("<nothing>") : typed);
    QCOMPARE(entry, QString());
    QCOMPARE(s.marked(quantity), !typed.isEmpty());
    QVERIFY(s.marked(Quantity::Z1));
    QVERIFY(s.FreshEntry);
}

void TestKeypad::change_rules_empty_a_single_blank_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("marked");
    QTest::newRow("typed 0 marks") << "0" << false << true;
    QTest::newRow("deleted text unmarks") << "" << false << false;
    QTest::newRow("single blank is emptied and unmarked") << " " << true << false;
    QTest::newRow("two blanks are text") << "  " << false << true;
    QTest::newRow("number and blank are text") << "1 " << false << true;
}

// The input fields' rule marks; the entry field's rule only empties.
void TestKeypad::change_rules_empty_a_single_blank()
{
    QFETCH(QString, text);
    QFETCH(bool, replaced);
    QFETCH(bool, marked);
    QCOMPARE(entryFieldChanged(text).has_value(), replaced);
    KeypadState s;
    s.setMarked(Quantity::Z2, !marked);
    const std::optional<QString> replacement = inputFieldChanged(s, Quantity::Z2, text);
    QCOMPARE(replacement.has_value(), replaced);
    QCOMPARE(s.marked(Quantity::Z2), marked);
    if (replacement) {
        QCOMPARE(*replacement, QString());
        // Writing the replacement runs the rule again, with nothing more to replace.
        QVERIFY(!inputFieldChanged(s, Quantity::Z2, *replacement));
        QVERIFY(!s.marked(Quantity::Z2));
    }
    QVERIFY(!s.marked(Quantity::Z1));
}

void TestKeypad::successful_calculation_unmarks_all_four()
{
    KeypadState s;
    for (const Quantity q : kQuantities)
        s.setMarked(q, true);
    calculationSucceeded(s);
    for (const Quantity q : kQuantities)
        QVERIFY(!s.marked(q));
}

void TestKeypad::take_back_restores_last_entry_and_zeroes_the_target_data()
{
    // Keys typed and moved to a target (0: no transfer), then keys typed and
    // cleared by "С" (none: no "С").
    QTest::addColumn<QString>("transferred");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("cleared");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("hint");
    QTest::newRow("1234 moved into Fm comes back") << "1234" << 4 << ""
                                                   << "1234"
                                                   << "Вернуть (1234)";
    QTest::newRow("after С the cleared number comes back") << "5" << 1 << "12"
                                                           << "12"
                                                           << "Вернуть (12)";
    QTest::newRow("an empty transfer gives an empty entry") << "" << 2 << ""
                                                            << ""
                                                            << "Вернуть ()";
    QTest::newRow("before any transfer only the entry is set") << "" << 0 << "34"
                                                               << "34"
                                                               << "Вернуть (34)";
}

void TestKeypad::take_back_restores_last_entry_and_zeroes_the_target()
{
    QFETCH(QString, transferred);
    QFETCH(int, target);
    QFETCH(QString, cleared);
    QFETCH(QString, entry);
    QFETCH(QString, hint);
    KeypadState s;
    QString typed;
    for (const QChar key : transferred)
        pressKey(s, typed, key);
    if (target != 0)
        transfer(s, typed, Quantity(target));
    for (const QChar key : cleared)
        pressKey(s, typed, key);
    if (!cleared.isEmpty())
        resetEntry(s, typed);
    s.setMarked(Quantity::Z2, true); // no row takes back into Z2
    QCOMPARE(takeBackHint(s), hint);

    for (int press = 0; press < 2; ++press) { // a second press does the same
        const TakeBack t = takeBack(s);
        QCOMPARE(t.entryText, entry);
        QCOMPARE(t.target.has_value(), target != 0);
        if (t.target) {
            QCOMPARE(*t.target, Quantity(target));
            QCOMPARE(t.inputText, QStringLiteral("0"));
            inputFieldChanged(s, *t.target, t.inputText); // the window writes "0"
            finishTakeBack(s, t);
            QVERIFY(!s.marked(*t.target));
        }
        QCOMPARE(s.KeypadTarget, target);
        QCOMPARE(s.LastEntry, entry);
    }
    QVERIFY(s.marked(Quantity::Z2));
}

QTEST_GUILESS_MAIN(TestKeypad)
#include "tst_keypad.moc"
