// TForm6: the calculator notice, shown when the external calculator program
// is not found beside the program.
#pragma once

#include <QDialog>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
