// TForm3: the input notice with two alternative texts. GroupBox1 carries
// text A (bad input); GroupBox2 lies on top of it and carries text B (inputs
// changed since the last calculation). A caller that wants text B makes
// GroupBox2 visible before exec(); the button lowers it again, so every
// other showing reads text A.
#pragma once

#include <QDialog>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
