// TForm2: the smaller-wheel notice, shown when the teeth counts contradict
// the wheel that was chosen as the smaller one.
#pragma once

#include "ui/kit/centred_dialog.h"

class QGroupBox;
class QLabel;
class QPushButton;

class TForm2 : public CentredDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();
};
