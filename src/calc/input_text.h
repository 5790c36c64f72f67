// The one rule for a typed text: its bound of 50 characters, its capture
// and its reading as a number. Characters are counted, not UTF-16 units: a
// character outside the Basic Multilingual Plane (two units) is kept whole
// or left out whole, never cut in half. The calculation, the search, the
// pair store, the machine's train and both file readers go through here.
#pragma once

#include "calc/number_text.h"

#include <QString>

namespace calc {

// The bound of every captured or stored input text, in characters.
inline constexpr int kTextLimit = 50;

// The number of characters in `text`: a surrogate pair counts once.
inline qsizetype characterCount(const QString &text) {
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return characters;
}

// The first `limit` characters of `text`.
inline QString leftCharacters(const QString &text, qsizetype limit) {
    qsizetype units = 0;
    for (qsizetype characters = 0; units < text.size() && characters < limit; ++characters)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                         text.at(units + 1).isLowSurrogate()
                     ? 2
                     : 1;
    return text.left(units);
}

// The text as it is kept: its first kTextLimit characters.
inline QString capturedText(const QString &typed) {
    return leftCharacters(typed, kTextLimit);
}

// Whether a text is kept whole.
inline bool fitsTextLimit(const QString &text) {
    return characterCount(text) <= kTextLimit;
}

// The captured text with the comma rule applied: what the number syntax
// reads, and what the search compares with the calculation's capture.
inline QString numberText(const QString &typed) {
    return applyCommaRule(capturedText(typed));
}

// The typed text read as the calculation reads it.
inline ParsedNumber readNumber(const QString &typed) {
    return parseNumber(numberText(typed));
}

// A typed text quoted in a message: at most `limit` characters, then "…",
// so that no text can make a message wider than the screen.
inline QString excerpt(const QString &text, qsizetype limit = 40) {
    return characterCount(text) <= limit ? text : leftCharacters(text, limit) + QStringLiteral("…");
}

// The same, and a minus before a decimal comma read as well ("-0,5", which
// the comma rule leaves alone), for the windows beyond the main window that
// want to say that a number is negative rather than not a number.
inline ParsedNumber readSignedNumber(const QString &typed) {
    const ParsedNumber n = readNumber(typed);
    const QString text = capturedText(typed).trimmed();
    if (n.status == 0 || !text.startsWith(QLatin1Char('-')) ||
        text.startsWith(QStringLiteral("--")))
        return n;
    const ParsedNumber magnitude = parseNumber(applyCommaRule(text.mid(1)));
    return magnitude.status == 0 ? ParsedNumber{-magnitude.value, 0} : n;
}

} // namespace calc
