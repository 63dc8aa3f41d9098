#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

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
    enum class TEnding
    {
        None,
        Lf,
        CrLf
    };

    struct TLine
    {
        QString Text;   // decoded, without the line ending
        QByteArray Raw; // the bytes in the file's encoding, without the line ending
        TEnding Ending = TEnding::None;
    };

    // The lines of one section, its header first. The part of the file before the first header
    // is held as a section without a header that no lookup ever finds.
    struct TSection
    {
        QList<TLine> Lines;
        QHash<QString, qsizetype> Keys; // folded key name -> line of its first occurrence
        qsizetype LastContent = 0;      // last line that is neither blank nor a comment
    };

    void Parse(const QByteArray& bytes);
    void AddLine(const QByteArray& raw, QString text, TEnding ending);
    const TLine* FindKey(const QString& section, const QString& key) const;
    TLine MakeLine(const QString& text);
    TSection& SectionForWrite(const QString& section);
    QByteArray Serialize() const;

    QString Path;
    std::vector<TSection> Sections = std::vector<TSection>(1);
    QHash<QString, qsizetype> SectionIndex; // folded section name -> its first occurrence
    bool Utf8 = false;                      // read from a file that began with a UTF-8 BOM
    bool NeedsUtf8 = false;                 // a written line has no CP932 form
    TEnding NewLineEnding = TEnding::CrLf;  // for the lines we write
};
