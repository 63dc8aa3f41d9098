#pragma once

#include "platform/TextEncoding.h"

#include <QString>
#include <optional>

// Reading one file of the list into text: ".TXT" files (in any letter case) are plain text;
// ".ZIP" files give the plain text of their first ".txt" entry; every other file goes through
// the RTF reader when it is RTF, and is plain text otherwise.
struct TTextFileContent
{
    enum class TStatus
    {
        Read,
        Missing,
        Failed
    };
    TStatus Status = TStatus::Failed;
    QString Text;
    QString Error; // what failed, for Failed
    // For Failed: the message that tells the user what is wrong with the file, when there is
    // more to say than that reading failed.
    QString Message;
    // The encoding plain text was read in; none for RTF.
    std::optional<TSourceEncoding> Encoding;
};

// Plain text is read in the given encoding, or in the one detected when none is given.
TTextFileContent ReadTextFile(const QString& path, std::optional<TSourceEncoding> encoding = {});

// Whether a path names a ".TXT" file: the part of its file name from the last dot on, in
// upper case, is exactly ".TXT".
bool IsPlainTextName(const QString& path);
