// TForm2: the smaller-wheel notice, shown when the teeth counts contradict
// the wheel that was chosen as the smaller one.
#pragma once

#include <QDialog>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
