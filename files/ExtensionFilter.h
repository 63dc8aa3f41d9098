#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringView>

#include <string_view>

// The extension lists that dropped files and the folder-tree search are matched against: every
// extension keeps its dot, has its ASCII letters in upper case and is followed by ";", as in
// ".TXT;.RTF;". An extension is the part of a file name from its last dot on.

// The extension of the file-name part of a path (after the last "/"), dot included; empty when
// the name has no dot.
QStringView FileExtension(QStringView path);

// ASCII a-z upper-cased; every other character is kept, so full-width letters stay as they are.
QString UpperAscii(QStringView text);

// The filter of a drop, made from the hidden file list's mask: every "*" removed, letters
// upper-cased, ";" appended; a result shorter than two characters gives the empty filter, which
// lets every file through ("*.*" gives it).
QString DropExtensionFilter(const QString& mask);

// The filter of the folder-tree search: "*.*" when the mask holds "*.*" anywhere, otherwise
// the mask without "*", upper-cased, with ";" appended.
QString SearchFilterText(const QString& mask);

// Whether an upper-cased extension is one of the filter's entries. Entries are compared whole:
// ".XT" is not taken by ".TXT;" although it occurs in it.
bool ExtensionListed(QStringView upperExtension, QStringView filter);

// Whether a dropped file passes a drop filter: every file when the filter is empty, otherwise
// only a file whose extension is listed.
bool PassesExtensionFilter(QStringView path, const QString& filter);

// A filter's extensions as bytes, so that names read from a folder are matched as the file
// system gives them, without turning every name into text first.
class TExtensionBytes
{
public:
    // filter: an extension list as above; its empty entries are left out.
    explicit TExtensionBytes(const QString& filter);

    // Whether the name's extension, its ASCII letters upper-cased, is one of the list's.
    bool Listed(std::string_view name) const;

private:
    QByteArrayList Extensions;
};
