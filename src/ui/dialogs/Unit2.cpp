// TForm2: the smaller-wheel notice.
#include "ui/dialogs/Unit2.h"

#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TForm2::TForm2(QWidget *parent)
    : CentredDialog(parent, QStringLiteral("TForm2"), QStringLiteral("Обратите внимание! ! !"),
                    QSize(519, 89), kit::sansFont(11)) {
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 4, 509, 49);
    GroupBox1->setFocusPolicy(Qt::NoFocus);

    Label1 = kit::plainLabel(
        QStringLiteral("У меньшего колеса число зубьев всгда меньше чем у большего"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(2, 2, 505, 45);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(kit::sansFont(15, true));
    Label1->setFocusPolicy(Qt::NoFocus);
    kit::setColour(Label1, QPalette::WindowText, kit::colour::navy);

    Button1 = new QPushButton(QStringLiteral("СПАСИБО"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(140, 60, 237, 25);
    Button1->setFont(kit::sansFont(11, true));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    setClosingButton(Button1);
}

void TForm2::Button1Click() {
    close();
}
