// TForm3: the input notice with two alternative texts. GroupBox1 carries
// text A (bad input); GroupBox2 lies on top of it and carries text B (inputs
// changed since the last calculation). A caller that wants text B makes
// GroupBox2 visible before exec(); the button lowers it again, so every
// other showing reads text A. Escape does not close it: that would leave
// text B raised for the next ordinary showing.
#pragma once

#include "ui/kit/centred_dialog.h"

class QGroupBox;
class QLabel;
class QPushButton;

class TForm3 : public CentredDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();
};
