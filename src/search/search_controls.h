// The two switches of the search controls: automatic or manual search, and
// the harmonic step of 1 or 0,5. The window shows them (captions, the boxes
// that belong to each mode, the hidden mode edit and the step box) from here.
#pragma once

#include <QString>

namespace search {

class SearchControls {
public:
    bool automatic() const { return isAutomatic; }
    bool halfStep() const { return isHalfStep; }

    // "Ручной поиск" / "Автопоиск".
    void toggleMode() { isAutomatic = !isAutomatic; }
    // "<" / ">".
    void toggleStep() { isHalfStep = !isHalfStep; }

    // The texts the window shows for the state.
    QString modeText() const;    // the hidden mode edit: "1" automatic, "0" manual
    QString modeCaption() const; // the mode button: what pressing it switches to
    QString stepText() const;    // the step box: "1" or "0,5"
    QString stepCaption() const; // the step button: "<" at 1, ">" at 0,5

private:
    bool isAutomatic = true;
    bool isHalfStep = false;
};

} // namespace search
