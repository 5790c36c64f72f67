// TForm5: the modulation-frequency window. The lists, their titles and the
// summary rows are built from tables.
#include "ui/dialogs/Unit5.h"

#include "calc/frequency_table.h"
#include "ui/kit/accessible_names.h"
#include "ui/kit/fit_hints.h"
#include "ui/kit/line_memo.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/kit/window_frame.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <utility>

using kit::make;
namespace colour = kit::colour;

namespace {

constexpr int kListHeight = 105;

struct ListLayout {
    LineMemo *TForm5::*memo;
    const char *name;
    int x, y, width;
};

// In family order of the search: three columns of four rows, the middle
// column's last row left to the summary and the close button.
constexpr ListLayout kLists[] = {
    {&TForm5::Memo1, "Memo1", 2, 20, 199},      {&TForm5::Memo2, "Memo2", 2, 146, 199},
    {&TForm5::Memo3, "Memo3", 2, 272, 199},     {&TForm5::Memo4, "Memo4", 2, 398, 199},
    {&TForm5::Memo5, "Memo5", 224, 20, 201},    {&TForm5::Memo6, "Memo6", 224, 146, 201},
    {&TForm5::Memo7, "Memo7", 224, 272, 201},   {&TForm5::Memo8, "Memo8", 448, 20, 201},
    {&TForm5::Memo9, "Memo9", 448, 146, 201},   {&TForm5::Memo10, "Memo10", 448, 272, 201},
    {&TForm5::Memo11, "Memo11", 448, 398, 201},
};
static_assert(std::size(kLists) == TForm5::kFamilyCount);

struct TitleLayout {
    QLabel *TForm5::*label;
    const char *name;
    int x, y;
    const char *text;
};

constexpr TitleLayout kTitles[] = {
    {&TForm5::Label1, "Label1", 24, -2, "Fz + Fr1"},
    {&TForm5::Label2, "Label2", 24, 124, "Fz - Fr1"},
    {&TForm5::Label3, "Label3", 24, 250, "Fz + Fr2"},
    {&TForm5::Label4, "Label4", 24, 376, "Fz - Fr2"},
    {&TForm5::Label5, "Label5", 248, -2, "Fr1 * Fr2"},
    {&TForm5::Label6, "Label6", 248, 124, "Fr1+Fr2"},
    {&TForm5::Label7, "Label7", 248, 250, "Fr1 - Fr2"},
    {&TForm5::Label8, "Label8", 248, 250, "Fr2 - Fr1"},
    {&TForm5::Label9, "Label9", 464, -2, "Fm + Fr1"},
    {&TForm5::Label10, "Label10", 472, 124, "Fm - Fr1"},
    {&TForm5::Label11, "Label11", 472, 250, "Fm + Fr2"},
    {&TForm5::Label12, "Label12", 480, 376, "Fm - Fr2"},
};
static_assert(std::size(kTitles) == TForm5::kTitleCount);

struct SummaryRow {
    QLabel *TForm5::*label;
    const char *labelName;
    const char *text;
    int labelX, labelY;
    QLineEdit *TForm5::*edit;
    const char *editName;
    int editX, editY;
    calc::Entry quantity;
};

// In reading order, which is also the keyboard order of the edits.
constexpr SummaryRow kSummary[] = {
    {&TForm5::Label13, "Label13", "Z1=", 5, 12, &TForm5::Edit1, "Edit1", 36, 12, calc::Entry::Z1},
    {&TForm5::Label14, "Label14", "Fr1=", 115, 12, &TForm5::Edit2, "Edit2", 152, 12,
     calc::Entry::Fr1},
    {&TForm5::Label15, "Label15", "Z2=", 5, 44, &TForm5::Edit3, "Edit3", 36, 44, calc::Entry::Z2},
    {&TForm5::Label16, "Label16", "Fr2=", 115, 44, &TForm5::Edit5, "Edit5", 152, 44,
     calc::Entry::Fr2},
    {&TForm5::Label17, "Label17", "Fm=", 4, 76, &TForm5::Edit4, "Edit4", 36, 76, calc::Entry::Fm},
    {&TForm5::Label18, "Label18", "Fz=", 120, 76, &TForm5::Edit6, "Edit6", 152, 76,
     calc::Entry::Fz},
};

// The room left between a summary caption and its box.
constexpr int kCaptionGap = 3;

// The summary captions stand close before their boxes; where a stand-in font
// runs wider than the original, the caption narrows until it ends a few
// pixels before its box instead of touching it or running under it. The
// letters are narrowed rather than moved together, which would make them
// touch each other ("Fm"). A text narrows in proportion to the stretch, so
// the stretch (in steps of 5, at least 70) is worked out from the caption's
// natural width and only checked; each new stretch costs a font to load.
void fitBefore(QLabel *label, int right) {
    const int room = right - kCaptionGap - label->x();
    const int natural = label->width();
    if (natural <= room)
        return;
    QFont font = label->font();
    for (int stretch = std::clamp(room * 100 / natural / 5 * 5, 70, 95);; stretch -= 5) {
        font.setStretch(stretch);
        label->setFont(font);
        label->adjustSize();
        if (label->width() <= room || stretch <= 70)
            return;
    }
}

} // namespace

TForm5::TForm5(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Модуляционные частоты"));
    setFont(kit::sansFont(11));
    kit::useLightPalette(this);
    setFixedSize(654, 519);
    // Closing only hides the window; it lives as long as the program and
    // never decides whether the program ends.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    // Created first, so that it heads the keyboard order and has the focus
    // when the window comes up.
    Button1 = make<QPushButton>(this, QStringLiteral("Button1"), QRect(208, 492, 233, 25));
    Button1->setText(QStringLiteral("Закрыть"));
    Button1->setFont(kit::sansFont(13, true));
    // Return presses the button that has the focus, as in a dialog.
    Button1->setAutoDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);

    QWidget *previous = buildLists(Button1);
    buildTitles();
    buildSummary(previous);
    nameLists();
}

QWidget *TForm5::buildLists(QWidget *previous) {
    for (const ListLayout &row : kLists) {
        // A search can list a hundred thousand lines; a text document
        // would take longer to fill than the whole search may.
        auto *memo = make<LineMemo>(this, QString::fromLatin1(row.name),
                                    QRect(row.x, row.y, row.width, kListHeight));
        memo->setFont(kit::sansFont(16, true));
        kit::setColour(memo, QPalette::Base, colour::maroon);
        kit::setColour(memo, QPalette::Text, colour::yellow);
        this->*row.memo = memo;
        setTabOrder(previous, memo);
        previous = memo;
    }
    return previous;
}

// The titles take their size when they are first written or the window
// first comes up (sizeTitles): their font serves no other window, and
// measuring the texts would load it at start-up for a window most runs show
// late or never.
void TForm5::buildTitles() {
    const QFont font = kit::sansFont(19);
    for (const TitleLayout &title : kTitles) {
        auto *label =
            make<QLabel>(this, QString::fromLatin1(title.name), QRect(title.x, title.y, 0, 0));
        label->setFont(font);
        label->setText(QString::fromUtf8(title.text));
        this->*title.label = label;
    }
    Label8->setVisible(false);
}

void TForm5::sizeTitles() {
    for (const TitleLayout &title : kTitles)
        (this->*title.label)->adjustSize();
    titlesSized_ = true;
}

void TForm5::buildSummary(QWidget *previous) {
    GroupBox1 = make<QGroupBox>(this, QStringLiteral("GroupBox1"), QRect(208, 380, 233, 105));
    GroupBox1->setFocusPolicy(Qt::NoFocus);
    // The window and the group polish their children with themselves.
    installEventFilter(this);
    GroupBox1->installEventFilter(this);
    QList<QLineEdit *> summaryBoxes;
    for (const SummaryRow &row : kSummary) {
        // Sized from its top-left corner when first needed (sizeSummary).
        auto *label = make<QLabel>(GroupBox1, QString::fromLatin1(row.labelName),
                                   QRect(row.labelX, row.labelY, 0, 0));
        label->setFont(kit::sansFont(16, true));
        label->setText(QString::fromLatin1(row.text));
        kit::setColour(label, QPalette::WindowText, colour::navy);
        label->installEventFilter(this);
        this->*row.label = label;

        auto *edit = make<QLineEdit>(GroupBox1, QString::fromLatin1(row.editName),
                                     QRect(row.editX, row.editY, 75, 21));
        edit->setFont(kit::sansFont(13, true));
        kit::setColour(edit, QPalette::Text, colour::black);
        edit->setReadOnly(true);
        this->*row.edit = edit;
        edit->setAccessibleName(accessibility::quantityName(row.quantity));
        setTabOrder(previous, edit);
        previous = edit;
        summaryBoxes << edit;
    }
    fitHints::watch(summaryBoxes);
}

// The captions take their size when one of them is first polished: before
// the window or the caption is shown, drawn or asked for its size. Measuring
// them, and the narrower fonts some of them need, would cost the start-up
// a millisecond for a window most runs show late or never.
void TForm5::sizeSummary() {
    summarySized_ = true;
    removeEventFilter(this);
    GroupBox1->removeEventFilter(this);
    for (const SummaryRow &row : kSummary) {
        QLabel *label = this->*row.label;
        label->removeEventFilter(this);
        label->adjustSize();
        fitBefore(label, row.editX);
    }
}

bool TForm5::eventFilter(QObject *watched, QEvent *event) {
    // Every new widget asks to be polished as soon as the event loop runs,
    // and polishes its children with itself; the captions', their group's
    // and the window's polish waits instead until it is needed (Qt polishes
    // a widget before it is shown, drawn or measured), or the captions would
    // be sized at the start after all.
    if (event->type() == QEvent::PolishRequest && !summarySized_)
        return true;
    if (event->type() == QEvent::Polish && !summarySized_)
        sizeSummary();
    return QWidget::eventFilter(watched, event);
}

void TForm5::nameLists() {
    for (int family = 0; family < kFamilyCount; ++family) {
        LineMemo *memo = this->*kLists[family].memo;
        // Label7 and Label8 share the difference list; the one shown names it.
        QLabel *title = this->*kTitles[family <= 6 ? family : family + 1].label;
        if (memo == Memo7 && Label8->isVisibleTo(this))
            title = Label8;
        memo->setAccessibleName(title->text());
    }
}

void TForm5::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm5::Button1Click() {
    close();
}

void TForm5::startRun(const QString &target, const QString &z1, const QString &fr1,
                      const QString &z2, const QString &fm, const QString &fr2, const QString &fz) {
    for (const ListLayout &row : kLists)
        (this->*row.memo)->clear();
    // The typed target as it stands: Qt would drop a "[*]" from a title.
    kit::setPlainTitle(this, QStringLiteral("результаты пойска значения ") + target);
    const std::pair<QLineEdit *, const QString *> summary[] = {
        {Edit1, &z1}, {Edit2, &fr1}, {Edit3, &z2}, {Edit4, &fm}, {Edit5, &fr2}, {Edit6, &fz}};
    for (const auto &[edit, text] : summary) {
        edit->setText(*text);
        // A long number shows its leading digits, not its tail.
        edit->setCursorPosition(0);
    }
}

void TForm5::setListText(int family, const QString &wholeText) {
    Q_ASSERT(family >= 0 && family < kFamilyCount);
    if (family < 0 || family >= kFamilyCount)
        return;
    (this->*kLists[family].memo)->setPlainText(wholeText);
}

void TForm5::setList(int family, std::shared_ptr<const LineList> lines) {
    Q_ASSERT(family >= 0 && family < kFamilyCount);
    if (family < 0 || family >= kFamilyCount)
        return;
    (this->*kLists[family].memo)->setLines(std::move(lines));
}

void TForm5::setTitles(const std::array<QString, kTitleCount> &titles) {
    for (int i = 0; i < kTitleCount; ++i)
        (this->*kTitles[i].label)->setText(titles[static_cast<std::size_t>(i)]);
    sizeTitles();
    nameLists();
}

void TForm5::setDifferenceFr2First(bool fr2First) {
    Label7->setVisible(!fr2First);
    Label8->setVisible(fr2First);
    nameLists();
}

void TForm5::bringUp(bool restore) {
    if (isMinimized() && !restore) {
        // Raising or activating could lift the window from the task bar.
        show();
        return;
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// Centred on the desktop the first time it comes up; later showings keep the
// place the user gave it.
void TForm5::showEvent(QShowEvent *event) {
    if (!titlesSized_)
        sizeTitles();
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        windowFrame::centreOnDesktop(this);
    }
    QWidget::showEvent(event);
}
