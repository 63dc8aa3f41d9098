#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: a property check that makes a finding of a silent loss, and a
// text made from the input that reaches the characters where our parsers went wrong before.

// A failed property aborts, so libFuzzer keeps the input as a crash and script/fuzz counts it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Characters that made trouble somewhere: CP932 one-way mappings, U+FEFF, characters above
// U+FFFF whose low surrogate looks like an escaped byte, line breaks and blanks, separators of
// our lists, half- and full-width forms, and characters no code page of ours holds.
inline const char16_t* const FuzzAlphabet[] = {
    u"\u301C",     u"\uFF5E", u"\u00A5", u"\u203E", u"\u2014",     u"\u2016",     u"\u2212",
    u"\u00A2",     u"\u00A3", u"\u00AC", u"\uFEFF", u"\U0001F4C1", u"\U0001F4A9", u"\U00020080",
    u"\r",         u"\n",     u"\t",     u" ",      u"\u3000",     u"=",          u";",
    u",",          u"/",      u"\\",     u"*",      u"?",          u".",          u"あ",
    u"表",         u"ｱ",      u"한",     u"é",      u"ß",          u"İ",          u"\u0300",
    u"\uFFFD",     u"0",      u"9",      u"-",      u"+",          u"$",          u"x",
    u"[",          u"]",      u"#",      u"\0",     u"\x7F",       u"\u00A0",     u"\uFFFF",
    u"\U0010FFFF",
};

// A text of up to maxChars characters: a byte below 0x80 is itself, a byte from 0x80 to 0xBF
// picks a character of the alphabet, and a higher one takes the next two bytes as any UTF-16
// unit, lone surrogates made U+FFFD unless wanted.
inline QString FuzzText(FuzzedDataProvider& data, size_t maxChars, bool loneSurrogates = false)
{
    QString text;
    constexpr size_t alphabetSize = sizeof FuzzAlphabet / sizeof FuzzAlphabet[0];
    for (size_t i = 0; i < maxChars && data.remaining_bytes() > 0; ++i) {
        const auto b = data.ConsumeIntegral<unsigned char>();
        if (b < 0x80) {
            text += QChar(b);
        } else if (b < 0xC0) {
            const char16_t* c = FuzzAlphabet[(b - 0x80) % alphabetSize];
            // The NUL entry is one unit long, which a terminated string cannot say.
            text += c[0] == 0 ? QString(QChar(0)) : QString::fromUtf16(c);
        } else {
            text += QChar(data.ConsumeIntegral<char16_t>());
        }
    }
    if (!loneSurrogates) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}
