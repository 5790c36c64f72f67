// TForm5: the modulation-frequency window. It lists every combination the
// frequency search found, one list per family with a title that carries the
// family's count, and sums up the pair the search ran on. It is a plain
// display, shown non-modally; closing it only hides it.
#pragma once

#include <QWidget>

#include <array>
#include <memory>

class LineList;
class LineMemo;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    static constexpr int kFamilyCount = 11;
    static constexpr int kTitleCount = 12;

    // The lists, in family order of the search.
    LineMemo *Memo1 = nullptr;
    LineMemo *Memo2 = nullptr;
    LineMemo *Memo3 = nullptr;
    LineMemo *Memo4 = nullptr;
    LineMemo *Memo5 = nullptr;
    LineMemo *Memo6 = nullptr;
    LineMemo *Memo7 = nullptr;
    LineMemo *Memo8 = nullptr;
    LineMemo *Memo9 = nullptr;
    LineMemo *Memo10 = nullptr;
    LineMemo *Memo11 = nullptr;

    // The titles; Label7 ("Fr1 - Fr2") and Label8 ("Fr2 - Fr1") share one place.
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;

    // The summary of the pair.
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label17 = nullptr;
    QLabel *Label18 = nullptr;
    QLineEdit *Edit1 = nullptr; // Z1
    QLineEdit *Edit2 = nullptr; // Fr1
    QLineEdit *Edit3 = nullptr; // Z2
    QLineEdit *Edit4 = nullptr; // Fm
    QLineEdit *Edit5 = nullptr; // Fr2
    QLineEdit *Edit6 = nullptr; // Fz

    QPushButton *Button1 = nullptr;

    void Button1Click();

    // --- what the search and the commands write; the texts come ready-made or
    // as lines made when they are shown
    // Empties the lists, names the target in the caption, fills the summary.
    void startRun(const QString &target, const QString &z1, const QString &fr1, const QString &z2,
                  const QString &fm, const QString &fr2, const QString &fz);
    // family 0..10 is Memo1..Memo11.
    void setListText(int family, const QString &wholeText);
    // The list of a family as lines made when they are shown or copied.
    void setList(int family, std::shared_ptr<const LineList> lines);
    // Label1..Label12 in order.
    void setTitles(const std::array<QString, kTitleCount> &titles);
    void setDifferenceFr2First(bool fr2First);
    // Shows the window non-modally; only restore lifts a minimised one.
    void bringUp(bool restore);

protected:
    void showEvent(QShowEvent *event) override;
    // A summary caption about to be polished (shown, drawn or measured)
    // sizes the captions first.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The parts of the window, in keyboard order; each takes the widget the
    // keyboard comes from.
    QWidget *buildLists(QWidget *previous);
    void buildTitles();
    void sizeTitles();
    void buildSummary(QWidget *previous);
    void sizeSummary();
    // Each list is named after the title shown above it, count included.
    void nameLists();

    bool placed_ = false;
    bool titlesSized_ = false;
    bool summarySized_ = false;
};
