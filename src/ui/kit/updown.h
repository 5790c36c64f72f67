// A small up-down spinner tied to an edit box: its arrows step a position
// between a minimum and a maximum, wrapping around, and write it into the edit.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
public:
    explicit UpDown(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    void setPosition(int position);
    int position() const { return pos; }
    void setAssociate(QLineEdit *edit) { associate = edit; }

    // One step of the arrows; public so that keys and tests can step too.
    void stepBy(int delta);

    QToolButton *upButton = nullptr;
    QToolButton *downButton = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int minimum = 0;
    int maximum = 100;
    int pos = 0;
    QLineEdit *associate = nullptr;
};
