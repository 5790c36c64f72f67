// TForm4: the About window. It does not block the main window; choosing
// "О программе" again while it is open only brings it to the front.
#pragma once

#include "ui/kit/centred_dialog.h"

#include <QImage>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QKeyEvent;
class QShowEvent;

class TForm4 : public CentredDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Button1 = nullptr;

    // Shows the window if it is hidden and puts it in front of the others.
    void bringUp();
    // The picture as decoded from the program's JPEG, before scaling.
    static QImage picture();

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Fits the picture into its box at the screen's pixel density, from the
    // full resolution of the source.
    void showPicture();

    qreal pictureRatio_ = 0; // the device pixel ratio the picture was made for
};
