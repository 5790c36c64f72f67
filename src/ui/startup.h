// Program start: the command line, the application title, the program's
// translation of Qt's own texts, the windows in their order, the main window
// first, and the machine windows wired to it.
#pragma once

#include <QString>
#include <QStringList>
#include <thread>

class TForm1;

// Reads the system's font configuration on a second thread while the
// QApplication connects to the window system; the first text a window
// measures would otherwise read it then, on the start's one path. Made
// before the QApplication, finished after it and before createWindows().
class FontSetupAhead {
public:
    FontSetupAhead();
    ~FontSetupAhead();
    FontSetupAhead(const FontSetupAhead &) = delete;
    FontSetupAhead &operator=(const FontSetupAhead &) = delete;
    void finish();

private:
    std::thread reader_;
};

// Every thread of the program takes its memory from the one main heap from
// then on. Called first, before any thread is started.
void shareOneHeap();

// Creates the windows (the main window first, the others hidden) and returns
// the main window, not yet shown. Needs a QApplication.
TForm1 *createWindows();

// --- the command line

// What the command line asks: help or the version (printed, no window), a
// start from the desktop menu, the machine files to open. Options Qt reads
// itself (-platform, -style …) pass through.
struct StartOptions {
    bool help = false;
    bool version = false;
    bool fromMenu = false; // --from-menu: the desktop entry's start
    QStringList files;
    QString error; // an option the program does not know
};
StartOptions parseStartOptions(const QStringList &arguments);

// Printed for --help and --version, in Russian.
QString helpText();
QString versionText();

// The per-user folder a start from the desktop menu works in, so that its
// settings file is the user's own ($XDG_CONFIG_HOME/gearfreq, made when
// missing); false when it cannot be entered.
QString userFolder();
bool enterUserFolder();

// The first machine file named on the command line, opened as "Открыть…"
// opens it (a bad one says why).
void openStartFiles(TForm1 *form, const QStringList &files);
