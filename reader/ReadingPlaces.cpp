#include "reader/ReadingPlaces.h"

#include "platform/EscapedUtf8.h"

#include <QFile>
#include <QSaveFile>

void TReadingPlaces::Remember(const QString& path, const TTextPlace& place)
{
    // A path that holds a line end could not be read back as one line.
    if (path.isEmpty() || path.contains(u'\n') || path.contains(u'\r'))
        return;
    Places.removeIf([&path](const TEntry& entry) { return entry.Path == path; });
    Places.prepend({path, place});
    if (Places.size() > MaxFiles)
        Places.resize(MaxFiles);
}

std::optional<TTextPlace> TReadingPlaces::Find(const QString& path) const
{
    for (const TEntry& entry : Places) {
        if (entry.Path == path)
            return entry.Place;
    }
    return std::nullopt;
}

QByteArray TReadingPlaces::ToBytes() const
{
    QByteArray bytes;
    for (const TEntry& entry : Places)
        bytes += QByteArray::number(entry.Place.Paragraph) + '\t' +
                 QByteArray::number(entry.Place.Offset) + '\t' + EncodeEscapedUtf8(entry.Path) +
                 '\n';
    return bytes;
}

TReadingPlaces TReadingPlaces::FromBytes(const QByteArray& bytes)
{
    TReadingPlaces places;
    const QList<QByteArray> lines = bytes.split('\n');
    // The last piece has no line end: a file cut short there may hold half a path.
    for (qsizetype i = 0; i + 1 < lines.size() && places.Places.size() < MaxFiles; ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() < 3)
            continue;
        bool paragraphRead = false;
        bool offsetRead = false;
        const int paragraph = fields[0].toInt(&paragraphRead);
        const int offset = fields[1].toInt(&offsetRead);
        // A tab inside the path belongs to the path. A listed name that is not UTF-8 holds
        // escaped bytes, which must come back as the same escapes or the path names no file.
        const QString path =
            DecodeEscapedUtf8(lines[i].mid(fields[0].size() + fields[1].size() + 2));
        if (!paragraphRead || !offsetRead || paragraph < 0 || offset < 0 || path.isEmpty() ||
            places.Find(path))
            continue;
        places.Places.append({path, {paragraph, offset}});
    }
    return places;
}

TReadingPlaces TReadingPlaces::Load(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Far more than 500 paths need: a larger file is no positions file.
    constexpr qint64 Limit = 4 * 1024 * 1024;
    return FromBytes(file.read(Limit));
}

bool TReadingPlaces::Save(const QString& fileName) const
{
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(ToBytes()) >= 0 && file.commit();
}
