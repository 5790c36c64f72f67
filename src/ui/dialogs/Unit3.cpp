// TForm3: the input notice.
#include "ui/dialogs/Unit3.h"

#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Both frames share one place; each is opaque so that the upper one hides
// the text of the lower one completely.
QGroupBox *textFrame(QWidget *parent, const QString &frameName, const QString &labelName,
                     const QString &text, QLabel *&label) {
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(frameName);
    frame->setGeometry(4, 4, 509, 49);
    frame->setAutoFillBackground(true);
    frame->setFocusPolicy(Qt::NoFocus);

    label = kit::plainLabel(text, frame);
    label->setObjectName(labelName);
    label->setGeometry(2, 2, 505, 45);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(kit::sansFont(16, true));
    label->setFocusPolicy(Qt::NoFocus);
    kit::setColour(label, QPalette::WindowText, kit::colour::navy);
    return frame;
}

} // namespace

TForm3::TForm3(QWidget *parent)
    : CentredDialog(parent, QStringLiteral("TForm3"), QStringLiteral("Обратите внимание! ! !"),
                    QSize(516, 88), kit::sansFont(11)) {
    GroupBox1 = textFrame(this, QStringLiteral("GroupBox1"), QStringLiteral("Label1"),
                          QStringLiteral("Вводите данные для расчета правильно"), Label1);
    GroupBox2 = textFrame(this, QStringLiteral("GroupBox2"), QStringLiteral("Label2"),
                          QStringLiteral("Не был выполнен расчет с новыми данными"), Label2);
    GroupBox2->setVisible(false);

    Button1 = new QPushButton(QStringLiteral("СПАСИБО"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(160, 60, 197, 25);
    Button1->setFont(kit::sansFont(11, true));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    setClosingButton(Button1);
}

void TForm3::Button1Click() {
    GroupBox2->setVisible(false);
    close();
}
