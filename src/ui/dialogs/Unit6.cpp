// TForm6: the calculator notice.
#include "ui/dialogs/Unit6.h"

#include "ui/kit/widget_kit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TForm6::TForm6(QWidget *parent)
    : CentredDialog(parent, QStringLiteral("TForm6"), QStringLiteral("ВНИМАНИЕ ! ! "),
                    QSize(403, 73), kit::sansFont(11)) {
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
    setClosingButton(Button1);
}

void TForm6::Button1Click() {
    close();
}
