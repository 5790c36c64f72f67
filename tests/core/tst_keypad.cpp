// The keypad's entry state: keys, reset, transfers, the change rules of the
// input fields and the entry field, the unmarking by a calculation, and the
// take back "В" with its hint.
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
    void input_field_change_sets_the_mark_data();
    void input_field_change_sets_the_mark();
    void entry_field_single_blank_becomes_empty_data();
    void entry_field_single_blank_becomes_empty();
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
    QTest::newRow("keys append to what was typed") << false << "12"
                                                   << "3"
                                                   << "123";
    QTest::newRow("after a search the first digit replaces the frequency") << true << "1234"
                                                                           << "5"
                                                                           << "5";
    QTest::newRow("after a search the following digits append") << true << "1234"
                                                                << "56"
                                                                << "56";
    QTest::newRow("after a search the comma starts afresh too") << true << "1234"
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
    s.FreshEntry = fresh;
    for (const QChar key : keys)
        pressKey(s, entry, key);
    QCOMPARE(entry, expected);
    QVERIFY(!s.FreshEntry);
}

void TestKeypad::reset_keeps_a_nonempty_entry_as_last_entry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expectedLastEntry");
    QTest::newRow("С on 12 keeps 12") << "12"
                                      << "12";
    QTest::newRow("С on an empty entry keeps the old last entry") << ""
                                                                  << "9";
}

void TestKeypad::reset_keeps_a_nonempty_entry_as_last_entry()
{
    QFETCH(QString, entry);
    QFETCH(QString, expectedLastEntry);
    KeypadState s;
    s.LastEntry = QStringLiteral("9");
    s.FreshEntry = true;
    s.KeypadTarget = 3;
    resetEntry(s, entry);
    QCOMPARE(entry, QString());
    QCOMPARE(s.LastEntry, expectedLastEntry);
    // Neither the fresh-entry flag nor the target is touched by "С".
    QVERIFY(s.FreshEntry);
    QCOMPARE(s.KeypadTarget, 3);
}

void TestKeypad::transfer_moves_the_entry_into_its_field_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<bool>("writes");
    QTest::newRow("1,5 into Fr1") << "1,5" << Quantity::Fr1 << true;
    QTest::newRow("0 into Fm counts as text") << "0" << Quantity::Fm << true;
    QTest::newRow("empty entry into Z2 writes nothing") << "" << Quantity::Z2 << false;
}

void TestKeypad::transfer_moves_the_entry_into_its_field()
{
    QFETCH(QString, entry);
    QFETCH(Quantity, quantity);
    QFETCH(bool, writes);
    KeypadState s;
    s.LastEntry = QStringLiteral("7");
    s.FreshEntry = true;
    s.setMarked(Quantity::Z1, true);
    const QString typed = entry;
    const std::optional<QString> written = transfer(s, entry, quantity);
    QCOMPARE(s.KeypadTarget, static_cast<std::int32_t>(quantity));
    QCOMPARE(s.LastEntry, typed);
    QCOMPARE(written.has_value(), writes);
    QCOMPARE(written.value_or(QString()), writes ? typed : QString());
    QCOMPARE(entry, QString());
    QCOMPARE(s.marked(quantity), writes);
    QVERIFY(s.marked(Quantity::Z1)); // other marks stay
    QVERIFY(s.FreshEntry);
}

void TestKeypad::input_field_change_sets_the_mark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wasMarked");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("marked");
    QTest::newRow("typed 0 marks") << "0" << false << false << true;
    QTest::newRow("deleted text unmarks") << "" << true << false << false;
    QTest::newRow("single blank is emptied and unmarked") << " " << true << true << false;
    QTest::newRow("two blanks are text") << "  " << false << false << true;
}

void TestKeypad::input_field_change_sets_the_mark()
{
    QFETCH(QString, text);
    QFETCH(bool, wasMarked);
    QFETCH(bool, replaced);
    QFETCH(bool, marked);
    KeypadState s;
    s.setMarked(Quantity::Z2, wasMarked);
    const std::optional<QString> replacement = inputFieldChanged(s, Quantity::Z2, text);
    QCOMPARE(replacement.has_value(), replaced);
    QCOMPARE(s.marked(Quantity::Z2), marked);
    if (replacement) {
        QCOMPARE(*replacement, QString());
        // Writing the replacement runs the rule again, with nothing more to replace.
        QVERIFY(!inputFieldChanged(s, Quantity::Z2, *replacement));
    }
    QCOMPARE(s.marked(Quantity::Z2), marked);
    QVERIFY(!s.marked(Quantity::Z1));
}

void TestKeypad::entry_field_single_blank_becomes_empty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("emptied");
    QTest::newRow("single blank") << " " << true;
    QTest::newRow("two blanks stay") << "  " << false;
    QTest::newRow("number with a blank stays") << "1 " << false;
    QTest::newRow("empty stays") << "" << false;
}

void TestKeypad::entry_field_single_blank_becomes_empty()
{
    QFETCH(QString, text);
    QFETCH(bool, emptied);
    const std::optional<QString> replacement = entryFieldChanged(text);
    QCOMPARE(replacement.has_value(), emptied);
    QCOMPARE(replacement.value_or(QStringLiteral("<kept>")), emptied ? QString() : "<kept>");
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
    // The keys typed, a transfer target (0: none), then keys typed before "С"
    // (empty: no "С").
    QTest::addColumn<QString>("transferred");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("cleared");
    QTest::addColumn<QString>("expectedEntry");
    QTest::addColumn<QString>("expectedHint");
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
    QFETCH(QString, expectedEntry);
    QFETCH(QString, expectedHint);
    KeypadState s;
    QString entry;
    for (const QChar key : transferred)
        pressKey(s, entry, key);
    if (target != 0)
        transfer(s, entry, static_cast<Quantity>(target));
    for (const QChar key : cleared)
        pressKey(s, entry, key);
    if (!cleared.isEmpty())
        resetEntry(s, entry);
    s.setMarked(Quantity::Z2, true);
    QCOMPARE(takeBackHint(s), expectedHint);

    // Twice: the state it reads does not change.
    for (int press = 0; press < 2; ++press) {
        const TakeBack t = takeBack(s);
        QCOMPARE(t.entryText, expectedEntry);
        QCOMPARE(t.target.has_value(), target != 0);
        if (t.target) {
            QCOMPARE(*t.target, static_cast<Quantity>(target));
            QCOMPARE(t.inputText, QStringLiteral("0"));
            // The window writes "0"; the field's own change rule marks it first.
            inputFieldChanged(s, *t.target, t.inputText);
            QVERIFY(s.marked(*t.target));
        }
        finishTakeBack(s, t);
        if (t.target)
            QVERIFY(!s.marked(*t.target));
        QCOMPARE(s.KeypadTarget, target);
        QCOMPARE(s.LastEntry, expectedEntry);
    }
    QVERIFY(s.marked(Quantity::Z2)); // no row takes back into Z2
}

QTEST_GUILESS_MAIN(TestKeypad)
#include "tst_keypad.moc"
