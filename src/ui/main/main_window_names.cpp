// Accessible names of the main window: its boxes by the calculation's row
// tables, the keypad's boxes by their captions, picture buttons by their
// hints. Without them picture buttons had no name.
#include "ui/main/main_window_names.h"

#include "ui/kit/accessible_names.h"
#include "ui/kit/updown.h"
#include "ui/main/Unit1.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

namespace accessibility {

namespace {
QString text(const char *s) {
    return QString::fromUtf8(s);
}
} // namespace

void nameMainWindow(TForm1 &w) {
    for (std::size_t i = 0; i < calc::kInputs.size(); ++i)
        w.inputEdits[i]->setAccessibleName(inputName(calc::kInputs[i]));
    for (std::size_t i = 0; i < calc::kDisplay.size(); ++i)
        w.displayEdits[i]->setAccessibleName(displayName(calc::kDisplay[i]));

    // The boxes of the keypad group and the indicator, by their captions.
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {w.Edit55, "поле калькулятора, частота для поиска, Гц"},
        {w.Edit58, "допуск поиска, плюс-минус Гц"},
        {w.Edit59, "шаг гармоник"},
        {w.Edit61, "макс. гармоника"},
        {w.Edit60, "макс. частота, Гц"},
        {w.Edit5, "меньшее колесо"},
    };
    for (const auto &[box, name] : boxes)
        box->setAccessibleName(text(name));

    // Picture buttons and one-letter captions are read out by their hints;
    // the triangles have none and take the caption of the item that runs
    // the same command; the spinner's arrows step the maximum harmonic.
    for (QToolButton *b : {w.SpeedButton33, w.SpeedButton43, w.SpeedButton25})
        b->setAccessibleName(b->toolTip());
    w.SpeedButton38->setAccessibleName(w.N27->text());
    w.SpeedButton39->setAccessibleName(w.N28->text());
    w.UpDown4->upButton->setAccessibleName(text("макс. гармоника больше"));
    w.UpDown4->downButton->setAccessibleName(text("макс. гармоника меньше"));
}

} // namespace accessibility
