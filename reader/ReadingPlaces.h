#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Where the reader stood in a text: the paragraph and the character (UTF-16 offset) at the top
// of the reader. Unlike a line number it holds across fonts and widths.
struct TTextPlace
{
    int Paragraph = 0;
    int Offset = 0;
    bool operator==(const TTextPlace&) const = default;
};

// The reading places of the last files read, by full path, the most recent first. Kept in a
// file beside the settings file, one place a line: "paragraph<TAB>offset<TAB>path", UTF-8
// (a name that is not UTF-8 keeps its own bytes, see platform/EscapedUtf8.h).
class TReadingPlaces
{
public:
    static constexpr int MaxFiles = 500;

    void Remember(const QString& path, const TTextPlace& place);
    std::optional<TTextPlace> Find(const QString& path) const;
    int Count() const { return int(Places.size()); }

    QByteArray ToBytes() const;
    // Lines that cannot be read (truncated, not numbers, negative, no path) are passed over; a
    // path seen twice keeps its first (most recent) place.
    static TReadingPlaces FromBytes(const QByteArray& bytes);

    // A missing or unreadable file gives no places; saving replaces the file atomically.
    static TReadingPlaces Load(const QString& fileName);
    bool Save(const QString& fileName) const;

private:
    struct TEntry
    {
        QString Path;
        TTextPlace Place;
    };
    QList<TEntry> Places;
};
