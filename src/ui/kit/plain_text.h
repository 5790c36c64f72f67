// The rule for every text a window shows: as it stands, never as markup.
// Qt reads a label's, a message box's or a hint's text as HTML when it looks
// like HTML, and would then load what it names (<img src=/dev/zero> reads
// without end) or show a forged message. Texts from a file or typed by the
// user reach all of these, so the program sets plain text everywhere:
//   - labels are made plain (kit::make does it for every QLabel it makes;
//     plainLabel for labels in layouts);
//   - message boxes come from messageBox(), which sets plain text before the
//     text itself;
//   - hints (tool tips, also those of table cells) are shown literally by an
//     application-wide rule that installPlainHints() puts in place;
//   - window titles made from such texts go through setPlainTitle().
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

class QLabel;
class QWidget;

namespace kit {

void makePlain(QLabel *label);
QLabel *plainLabel(const QString &text, QWidget *parent = nullptr);

// A message box with a plain title and text; the caller adds buttons (none:
// an "OK" button) and runs exec().
std::unique_ptr<QMessageBox> messageBox(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &title, const QString &text);
// A modal message with one "OK" button.
void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                 const QString &text);

// The title as the user typed or the file named it: line breaks and other
// control characters become blanks, and Qt's "[*]" placeholder is escaped.
QString plainTitle(const QString &text);
void setPlainTitle(QWidget *window, const QString &text);

// The hint text that a tool tip shows exactly as written.
QString literalHint(const QString &text);

// Every tool tip of the program shown literally: once, after the
// QApplication exists.
void installPlainHints();

} // namespace kit
