// What the fuzz targets share: a property check that aborts with a readable
// account of the input, so that libFuzzer keeps the input as a crash file.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void fail(const char *property, const char *file, int line,
                              const std::string &detail) {
    std::fprintf(stderr, "\n*** property broken: %s\n    at %s:%d\n    %s\n", property, file, line,
                 detail.c_str());
    std::abort();
}

// A text as a C-like literal: ASCII as it is, everything else as \uXXXX.
inline std::string quoted(const QString &text) {
    std::string out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != '"' && u != '\\') {
            out += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out + "\"";
}

inline std::string quoted(const QByteArray &bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7f && b != '"' && b != '\\') {
            out += static_cast<char>(b);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", b);
            out += buf;
        }
    }
    return out + "\"";
}

// Enough digits to tell any two doubles apart.
inline std::string exact(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    return buf;
}

} // namespace fuzz

// The detail is only built when the property is broken.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzz::fail(#condition, __FILE__, __LINE__, (detail));                                \
    } while (false)
