// TForm6: the calculator notice.
#include "ui/Unit6.h"

#include "ui/widget_kit.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

TForm6::TForm6(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("ВНИМАНИЕ ! ! "));
    setFont(kit::sansFont(11));
    setFixedSize(403, 73);

    GroupBox1 = kit::make<QGroupBox>(this, QStringLiteral("GroupBox1"), QRect(3, 0, 398, 41));
    GroupBox1->setFocusPolicy(Qt::NoFocus);

    Label1 = kit::make<QLabel>(GroupBox1, QStringLiteral("Label1"), QRect(2, 2, 394, 37));
    Label1->setText(QStringLiteral("Файл  Calc.exe в директории программы не найден"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(kit::sansFont(13, true));
    kit::setColour(Label1, QPalette::WindowText, kit::colour::red);

    Button1 = kit::make<QPushButton>(this, QStringLiteral("Button1"), QRect(136, 48, 137, 22));
    Button1->setText(QStringLiteral("СПАСИБО"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

void TForm6::Button1Click() {
    close();
}

// Centred on the desktop at every showing, also when the notice has a parent
// (QDialog would centre it over the parent).
void TForm6::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

// The button is the only way out, as with the other notices.
void TForm6::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
