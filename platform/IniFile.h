#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The settings file with the semantics of a Windows profile file: section and key names match
// without regard to case, a missing key gives the caller's default, a key is rewritten where it
// stands, a new key goes to the end of its section and a new section to the end of the file,
// and every other line (comments, blank lines, foreign sections and keys) is kept byte for byte.
//
// The file is CP932; one that begins with a UTF-8 BOM is read as UTF-8. When a value cannot be
// held in CP932 so that it reads back the same, the file is written as UTF-8 with a BOM, so
// nothing is lost. In UTF-8 a byte of a file name that is not UTF-8 (an escape, see
// platform/EscapedUtf8.h) is written as that byte and read back as the escape.
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

    // Writes the lines back, creating the file when missing; false when it cannot be written
    // (or exists but could not be read), in which case the old file is left whole.
    bool UpdateFile();

private:
    enum class TEnding
    {
        None,
        Lf,
        CrLf
    };

    // A line as read is a slice of the file's bytes, so a big file costs no allocation per
    // line. Its text is decoded with its section's, when the section is first looked up. A line
    // the program wrote has its own text and bytes.
    struct TLine
    {
        qsizetype Raw = 0; // in FileBytes, without the line ending
        qsizetype RawSize = 0;
        qsizetype Piece = 0;            // which of its section's lines as read it is
        mutable qsizetype Text = 0;     // in its section's Text, once decoded
        mutable qsizetype TextSize = 0; // without the line ending
        qsizetype Own = -1;             // index in OwnLines for a line the program wrote
        TEnding Ending = TEnding::None;
    };

    struct TOwnLine
    {
        QString Text;
        QByteArray Raw; // in the file's encoding; empty when CP932 cannot hold the text
    };

    // The lines of one section, its header first. The part of the file before the first header
    // is held as a section without a header that no lookup ever finds.
    struct TSection
    {
        QList<TLine> Lines;
        qsizetype RawBegin = 0; // the bytes of the lines as read, endings included
        qsizetype RawEnd = 0;
        qsizetype ReadLines = 0;
        qsizetype LastContent = 0; // last line that is neither blank nor a comment
        // Decoded and indexed on the first lookup, so the sections nobody asks for cost no
        // more than finding their headers.
        mutable bool Decoded = false;
        mutable QString Text;
        mutable std::optional<QHash<QString, qsizetype>> Keys; // folded name -> first line
    };

    void Parse(const QByteArray& bytes);
    void AddLine(TLine line);
    QString DecodeOne(QByteArrayView raw) const;
    void Decode(const TSection& section) const;
    QStringView TextOf(const TSection& section, const TLine& line) const;
    QByteArrayView RawOf(const TLine& line) const;
    const QHash<QString, qsizetype>& KeysOf(const TSection& section) const;
    std::optional<QStringView> FindValue(const QString& section, const QString& key) const;
    TLine MakeLine(const QString& text);
    TSection& SectionForWrite(const QString& section);
    QByteArray Serialize() const;

    QString Path;
    QByteArray FileBytes;
    std::vector<TOwnLine> OwnLines;
    std::vector<TSection> Sections = std::vector<TSection>(1);
    QHash<QString, qsizetype> SectionIndex; // folded section name -> its first occurrence
    bool Unreadable = false;                // exists, but could not be read: never replaced
    bool Utf8 = false;                      // read from a file that began with a UTF-8 BOM
    bool NeedsUtf8 = false;                 // a written line has no CP932 form
    TEnding NewLineEnding = TEnding::CrLf;  // for the lines we write
};
