// The up-down spinner.
#include "ui/kit/updown.h"

#include <QLineEdit>
#include <QToolButton>

UpDown::UpDown(QWidget *parent) : QWidget(parent) {
    upButton = new QToolButton(this);
    upButton->setArrowType(Qt::UpArrow);
    downButton = new QToolButton(this);
    downButton->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {upButton, downButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    connect(upButton, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(downButton, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setRange(int min, int max) {
    minimum = min;
    maximum = max;
}

void UpDown::setPosition(int position) {
    pos = qBound(minimum, position, maximum);
}

void UpDown::stepBy(int delta) {
    int next = pos + delta;
    if (next > maximum)
        next = minimum;
    else if (next < minimum)
        next = maximum;
    pos = next;
    if (associate)
        associate->setText(QString::number(pos));
}

void UpDown::resizeEvent(QResizeEvent *) {
    const int half = height() / 2;
    upButton->setGeometry(0, 0, width(), half);
    downButton->setGeometry(0, half, width(), height() - half);
}
