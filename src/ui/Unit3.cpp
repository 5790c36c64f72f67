// TForm3: the input notice.
#include "ui/Unit3.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr QColor navy(0, 0, 128);

QFont noticeFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Both frames share one place; each is opaque so that the upper one hides
// the text of the lower one completely.
QGroupBox *textFrame(QWidget *parent, const QString &frameName, const QString &labelName,
                     const QString &text, QLabel *&label) {
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(frameName);
    frame->setGeometry(4, 4, 509, 49);
    frame->setAutoFillBackground(true);
    frame->setFocusPolicy(Qt::NoFocus);

    label = new QLabel(text, frame);
    label->setObjectName(labelName);
    label->setGeometry(2, 2, 505, 45);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(noticeFont(16, true));
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, navy);
    label->setPalette(palette);
    return frame;
}

} // namespace

TForm3::TForm3(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Обратите внимание! ! !"));
    setFont(noticeFont(11, false));
    setFixedSize(516, 88);

    GroupBox1 = textFrame(this, QStringLiteral("GroupBox1"), QStringLiteral("Label1"),
                          QStringLiteral("Вводите данные для расчета правильно"), Label1);
    GroupBox2 = textFrame(this, QStringLiteral("GroupBox2"), QStringLiteral("Label2"),
                          QStringLiteral("Не был выполнен расчет с новыми данными"), Label2);
    GroupBox2->setVisible(false);

    Button1 = new QPushButton(QStringLiteral("СПАСИБО"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(160, 60, 197, 25);
    Button1->setFont(noticeFont(11, true));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
}

void TForm3::Button1Click() {
    GroupBox2->setVisible(false);
    close();
}

// Centred on the desktop at every showing, also when the notice has a parent
// (QDialog would centre it over the parent).
void TForm3::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

// Only the button may close the notice: Escape would close it with text B
// still raised, and the next ordinary showing would read the wrong text.
void TForm3::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
