// TForm4: the About window.
#include "ui/dialogs/Unit4.h"

#include "ui/kit/jpeg_image.h"
#include "ui/kit/widget_kit.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextDocument>
#include <QTextOption>

namespace {

const QString aboutText = QStringLiteral("\n"
                                         "\n"
                                         "Частоты зубчатых передач\n"
                                         "\n"
                                         "Расчет частот зубчатого зацепления,\n"
                                         "оборотных частот колес и их гармоник,\n"
                                         "модуляционных (боковых) частот\n"
                                         "и поиск их по частоте из спектра вибрации\n"
                                         "для вибродиагностики редукторов и агрегатов\n"
                                         "\n"
                                         "Версия от 8 декабря 2026 г.\n"
                                         "\n"
                                         "Программа распространяется бесплатно");

const QString pictureResource = QStringLiteral(":/about.jpg");

} // namespace

QImage TForm4::picture() {
    QFile file(pictureResource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return jpeg::decode(file.readAll());
}

TForm4::TForm4(QWidget *parent)
    : CentredDialog(parent, QStringLiteral("TForm4"), QStringLiteral("О программе"),
                    QSize(609, 338), kit::sansFont(11)) {

    Memo1 = kit::make<QPlainTextEdit>(this, QStringLiteral("Memo1"), QRect(0, 0, 489, 337));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    kit::setColour(Memo1, QPalette::Text, kit::colour::lime);
    kit::setColour(Memo1, QPalette::Base, kit::colour::maroon);
    // The text before its font and alignment: a change to a text of many
    // lines is laid out when it is drawn, while a change to the one empty
    // line of a new memo is laid out at once, loading the font at start-up.
    Memo1->setPlainText(aboutText);
    Memo1->setFont(kit::serifFont(16, true));
    QTextOption centred = Memo1->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(centred);
    Memo1->setAccessibleName(windowTitle());

    // The picture is decoded when the window first comes up: most runs of
    // the program never show it.
    Image1 = kit::make<QLabel>(this, QStringLiteral("Image1"), QRect(491, 0, 118, 161));
    Image1->setAlignment(Qt::AlignCenter);

    Button1 = kit::make<QPushButton>(this, QStringLiteral("Button1"), QRect(491, 304, 118, 33));
    Button1->setText(QStringLiteral("Закрыть"));
    Button1->setFont(kit::serifFont(19));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    setClosingButton(Button1);
}

void TForm4::bringUp() {
    if (isHidden())
        show();
    raise();
    activateWindow();
}

void TForm4::Button1Click() {
    close();
}

void TForm4::showPicture() {
    const qreal ratio = devicePixelRatioF();
    if (!Image1->pixmap().isNull() && qFuzzyCompare(ratio, pictureRatio_))
        return;
    const QImage full = picture();
    if (full.isNull())
        return;
    pictureRatio_ = ratio;
    // The box's share of the picture in pixels of the screen; a screen
    // denser than the source gets the source itself.
    const QSize shown = full.size().scaled(Image1->size(), Qt::KeepAspectRatio);
    const QSize pixels = (QSizeF(shown) * ratio).toSize();
    QImage image = pixels.width() < full.width()
                       ? full.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                       : full;
    image.setDevicePixelRatio(qreal(image.width()) / shown.width());
    Image1->setPixmap(QPixmap::fromImage(image));
}

void TForm4::showEvent(QShowEvent *event) {
    showPicture();
    CentredDialog::showEvent(event);
}

// The About window is no notice: Escape closes it, as its button does.
void TForm4::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        Button1->click();
        return;
    }
    CentredDialog::keyPressEvent(event);
}
