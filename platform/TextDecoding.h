#pragma once

#include <QByteArrayView>
#include <QString>

// Turning the bytes of a text file into the text the program works on.

// Decodes the bytes of a plain text file in the encoding DecodeDetectedText() finds (a
// byte-order mark decides, valid UTF-8 with a multi-byte sequence is UTF-8, then UTF-16,
// ISO-2022-JP and EUC-JP by their rules, CP932 when in doubt), the text of the same call.
// Invalid or truncated sequences become U+FFFD and the rest of the text is kept.
//
// CR LF, LF and CR each end a line; the result separates lines with '\n' only. The line end of
// the last line is not kept, so the result holds exactly one '\n' between two lines: "a\r\nb\r\n"
// and "a\r\nb" are both the two lines "a\nb", and saving the lines, each followed by CR LF, gives
// the first back. A text view given the result shows one paragraph per line.
QString DecodeText(QByteArrayView bytes);

// Decodes UTF-8 with every U+FEFF kept, a first one included: QString::fromUtf8 drops a leading
// one, which is text wherever the bytes do not start a file. Invalid sequences become U+FFFD.
QString DecodeUtf8(QByteArrayView bytes);

// Rewrites CR LF and lone CR as '\n' in place, in one pass.
void NormalizeLineEnds(QString& text);

// Drops one '\n' at the very end, the line end of the last line.
void DropFinalLineEnd(QString& text);

// Replaces every UTF-16 surrogate that is not part of a pair with U+FFFD, in place.
void ReplaceLoneSurrogates(QString& text);
