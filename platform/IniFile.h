#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The settings file with the semantics of a Windows profile file: section and key names match
// without regard to case, a missing key gives the caller's default, a key is rewritten where it
// stands, a new key goes to the end of its section and a new section to the end of the file,
// and every other line (comments, blank lines, foreign sections and keys) is kept byte for byte.
//
// The file is CP932; one that begins with a UTF-8 BOM is read as UTF-8. When a value cannot be
// held in CP932 the file is written as UTF-8 with a BOM, so nothing is lost.
//
// One object serves one pass: the constructor reads the file (a missing or unreadable file reads
// as empty), the Write calls change the lines in memory, and UpdateFile replaces the file
// atomically in one go.
class TIniFile
{
public:
    explicit TIniFile(const QString& path);

    QString FileName() const { return Path; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, with an optional sign; a text of more than two characters beginning with "0x" or
    // "0X" is hexadecimal. Anything that is not a 32-bit integer gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // An integer; any non-zero value is true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Writes the lines back, creating the file when missing; false when it cannot be written,
    // in which case the old file is left whole.
    bool UpdateFile();

private:
    QString Path;
};
