#pragma once

#include <QByteArrayView>
#include <QString>

// Reading rich-text (RTF) files as the plain text the text view shows.

// True when the bytes begin with "{\rtf". Any other file is plain text (DecodeText).
bool IsRtf(QByteArrayView bytes);

// The plain text of an RTF document, lines separated by '\n' (no line end after the last line).
//
// Text bytes, raw or written as \'hh, are decoded in the code page of the current font (its
// \fcharset or \cpg in the font table; in a \dbch run the font named by \af or \stshfdbch),
// else of the document (\ansicpg; 932 when the document names none, as on the Japanese system
// the files come from). Consecutive bytes are decoded together, so double-byte characters
// survive. \uN gives the character and skips its \ucN
// fallback characters. \par, \line, \sect and \page end a line, \tab and \cell give a tab, \row
// ends a table row. Destinations that hold no body text (font, colour and style tables, document
// information, pictures, objects, headers and footers, field instructions, every \* group) are
// left out.
//
// Malformed input is read as far as it makes sense: a missing '}' ends the document at the end
// of the bytes, the '}' that closes the document group ends it there (whatever follows is not
// part of the document), nesting of any depth works without recursion, and numeric parameters
// are clamped. Time is linear in the input.
QString RtfToPlainText(QByteArrayView bytes);
