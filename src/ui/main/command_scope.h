// A command of the main window in progress: the outermost one, when it
// ends, sends the one change signal for all the steps it took.
#pragma once

#include "ui/main/Unit1.h"

class CommandScope {
public:
    explicit CommandScope(TForm1 &form) : form(form) { ++form.commandDepth; }
    ~CommandScope() {
        if (--form.commandDepth == 0)
            form.flushChange();
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

private:
    TForm1 &form;
};
