// The keypad on the main window: the keys build a number in the entry
// field, the transfer buttons move it into an input field and mark it, and
// "В" takes the last transfer back.
#include "ui/main/Unit1.h"

#include "ui/kit/widget_kit.h"

#include <QLineEdit>
#include <QToolButton>

QLineEdit *TForm1::inputEdit(entry::Quantity q) const {
    QLineEdit *const edits[] = {Edit1, Edit2, Edit3, Edit4};
    return edits[entry::KeypadState::index(q)];
}

void TForm1::showMarks() {
    // Each quantity has a transfer button on the keypad and one beside its field.
    for (const entry::Quantity q : entry::kQuantities) {
        const std::size_t i = entry::KeypadState::index(q);
        const QColor c = keypad.marked(q) ? kit::colour::blue : kit::colour::navy;
        kit::setColour(transferButtons[i], QPalette::ButtonText, c);
        kit::setColour(transferButtons[i + 4], QPalette::ButtonText, c);
    }
}

void TForm1::setFreshEntry() {
    entry::startFreshEntry(keypad);
}

void TForm1::keypadKey(QChar key) {
    QString text = Edit55->text();
    entry::pressKey(keypad, text, key);
    Edit55->setText(text);
}

void TForm1::SpeedButton25Click() {
    QString text = Edit55->text();
    entry::resetEntry(keypad, text);
    Edit55->setText(text);
}

void TForm1::transferTo(entry::Quantity q) {
    QString text = Edit55->text();
    if (const std::optional<QString> moved = entry::transfer(keypad, text, q)) {
        inputEdit(q)->setText(*moved);
        Edit55->setText(text);
        // Also when the field already held this text and so saw no change.
        keypad.setMarked(q, true);
    }
    showMarks();
}

void TForm1::inputEdited(entry::Quantity q) {
    if (const std::optional<QString> replaced =
            entry::inputFieldChanged(keypad, q, inputEdit(q)->text())) {
        inputEdit(q)->setText(*replaced); // runs this handler again
        return;
    }
    showMarks();
}

void TForm1::Edit55Change() {
    if (const std::optional<QString> replaced = entry::entryFieldChanged(Edit55->text()))
        Edit55->setText(*replaced);
}

void TForm1::SpeedButton43Click() {
    const entry::TakeBack back = entry::takeBack(keypad);
    if (back.target)
        inputEdit(*back.target)->setText(back.inputText);
    entry::finishTakeBack(keypad, back);
    showMarks();
    Edit55->setText(back.entryText);
}

void TForm1::SpeedButton43MouseMove() {
    SpeedButton43->setToolTip(entry::takeBackHint(keypad));
}
