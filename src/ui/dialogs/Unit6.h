// TForm6: the calculator notice, shown when the external calculator program
// is not found beside the program.
#pragma once

#include "ui/kit/centred_dialog.h"

class QGroupBox;
class QLabel;
class QPushButton;

class TForm6 : public CentredDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();
};
