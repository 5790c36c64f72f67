// TForm7: the confirmation before a new aggregate discards the gear data.
// The main window gives the buttons their work; every other way of closing
// the window (Escape, the window manager) rejects it, which reads as
// "Отмена".
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QMoveEvent;
class QPushButton;
class QResizeEvent;
class QShowEvent;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitFrameToPlace();

    bool framePlaced_ = false;
};
