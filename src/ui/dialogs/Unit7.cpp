// TForm7: the confirmation before a new aggregate.
#include "ui/dialogs/Unit7.h"

#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/kit/window_frame.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

// The window's place on the screen, frame included.
constexpr QRect outerPlace(365, 209, 353, 147);

QLabel *warningLine(QWidget *parent, const QString &name, const QString &text, QPoint at) {
    auto *label = kit::plainLabel(text, parent);
    label->setObjectName(name);
    label->setFont(kit::serifFont(19, true));
    kit::setColour(label, QPalette::WindowText, kit::colour::red);
    label->move(at);
    label->adjustSize();
    return label;
}

QPushButton *answer(QWidget *parent, const QString &name, const QString &text, QPoint at) {
    auto *button = kit::make<QPushButton>(parent, name, QRect(at, QSize(137, 25)));
    button->setText(text);
    button->setFont(kit::serifFont(16, true));
    return button;
}

} // namespace

TForm7::TForm7(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Внимание!!!"));
    setFont(kit::sansFont(11));
    kit::useLightPalette(this);
    // Until the window manager has framed the window, frame and client are one.
    setGeometry(outerPlace);

    GroupBox1 = kit::make<QGroupBox>(this, QStringLiteral("GroupBox1"), QRect(1, 0, 344, 73));
    GroupBox1->setFocusPolicy(Qt::NoFocus);
    // The two lines read as one sentence.
    Label1 = warningLine(GroupBox1, QStringLiteral("Label1"), QStringLiteral("исходные  данные"),
                         QPoint(89, 12));
    Label2 = warningLine(GroupBox1, QStringLiteral("Label2"),
                         QStringLiteral("по зубчатым парам будут удалены"), QPoint(24, 38));

    Button1 = answer(this, QStringLiteral("Button1"), QStringLiteral("Продолжить"), QPoint(8, 88));
    Button2 = answer(this, QStringLiteral("Button2"), QStringLiteral("Отмена"), QPoint(200, 88));
}

// The outer size and place hold for the frame. The first showing asks the
// window manager for the frame before the window is mapped; where it cannot
// tell, the frame is known only once the shown window has been decorated,
// so every move and resize until then tries again. Afterwards the window
// keeps whatever place and size the user gives it.
void TForm7::fitFrameToPlace() {
    if (framePlaced_ || !isVisible())
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    if (margins.isNull())
        return;
    framePlaced_ = true;
    setGeometry(outerPlace.marginsRemoved(margins));
}

void TForm7::showEvent(QShowEvent *event) {
    if (!framePlaced_ && !event->spontaneous()) {
        const QMarginsF margins = windowFrame::expectedMargins(this);
        // Set first: the move below comes back through moveEvent.
        framePlaced_ = !margins.isNull();
        setGeometry(windowFrame::clientFor(outerPlace, margins));
    }
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &TForm7::fitFrameToPlace);
}

void TForm7::moveEvent(QMoveEvent *event) {
    QDialog::moveEvent(event);
    fitFrameToPlace();
}

void TForm7::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    fitFrameToPlace();
}
