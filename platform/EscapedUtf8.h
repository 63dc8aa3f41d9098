#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// UTF-8 that may hold bytes which are not UTF-8, as file names on disk do (and so the settings
// that name files and folders). Such bytes must survive a trip through a QString, or the text
// names another file: every byte of an invalid sequence becomes the lone surrogate
// U+DC00 + byte (U+DC80..U+DCFF), and encoding turns it back into that byte. Everything else is
// plain UTF-8 both ways, U+FEFF included wherever it stands. The low half of a surrogate pair
// (a character above U+FFFF) lies in the same range but is part of its character.

QString DecodeEscapedUtf8(QByteArrayView raw);
QByteArray EncodeEscapedUtf8(QStringView text);

// Whether text[i] stands for an escaped byte.
bool IsEscapedByteAt(QStringView text, qsizetype i);
