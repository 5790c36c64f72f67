// The 50-character bound of captured and stored texts, counted in
// characters: a character outside the Basic Multilingual Plane (two UTF-16
// units) is kept whole or left out whole, never cut in half.
#pragma once

#include <QString>

namespace calc {

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

// The number of characters in `text`: a surrogate pair counts once.
inline qsizetype characterCount(const QString &text) {
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return characters;
}

} // namespace calc
