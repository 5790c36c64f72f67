// TForm2: the smaller-wheel notice.
#include "ui/Unit2.h"

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

} // namespace

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Обратите внимание! ! !"));
    setFont(noticeFont(11, false));
    setFixedSize(519, 89);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 4, 509, 49);
    GroupBox1->setFocusPolicy(Qt::NoFocus);

    Label1 = new QLabel(
        QStringLiteral("У меньшего колеса число зубьев всгда меньше чем у большего"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(2, 2, 505, 45);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(noticeFont(15, true));
    Label1->setFocusPolicy(Qt::NoFocus);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, navy);
    Label1->setPalette(palette);

    Button1 = new QPushButton(QStringLiteral("СПАСИБО"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(140, 60, 237, 25);
    Button1->setFont(noticeFont(11, true));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::Button1Click() {
    close();
}

// Centred on the desktop at every showing, also when the notice has a parent
// (QDialog would centre it over the parent).
void TForm2::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

// The button is the only way out: the notice has no cancel route, so
// Escape does not close it.
void TForm2::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
