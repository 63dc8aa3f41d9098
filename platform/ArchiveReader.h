#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text inside a zipped text file, read through libarchive.

struct TArchiveText
{
    enum class TStatus
    {
        Read,
        NoText,    // no ".txt" entry (an empty archive included)
        Encrypted, // the text is protected by a password
        Damaged,   // truncated, corrupt, or no zip at all
        TooLarge,  // the text unpacks to more than the limit
    };
    TStatus Status = TStatus::Damaged;
    QByteArray Bytes;
    // The entry's name as the archive stores it (often CP932 without a flag saying so).
    QByteArray EntryName;
};

// Texts larger than this unpack to nothing but a message: a few hundred bytes of a zip can
// unpack to gigabytes, and the text view holds every character twice.
inline constexpr qint64 ArchiveTextLimit = qint64(256) << 20;

// The first ".txt" entry of a zip (the first by name when it holds several, any letter case;
// folders and "__MACOSX/" copies left out), unpacked. At most maxBytes are unpacked.
TArchiveText ReadArchiveText(QByteArrayView zip, qint64 maxBytes = ArchiveTextLimit);

// Whether a path names a zip by its extension, in any letter case.
bool IsArchiveName(const QString& path);

// The message for a status other than Read.
QString ArchiveMessage(TArchiveText::TStatus status);
