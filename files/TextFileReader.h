#pragma once

#include "platform/TextEncoding.h"
#include "reader/PreparedLines.h"

#include <QString>
#include <functional>
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
        Failed,
        // The reading was stopped from outside; nothing of the file is kept.
        Abandoned
    };
    TStatus Status = TStatus::Failed;
    QString Text;
    QString Error; // what failed, for Failed
    // For Failed: the message that tells the user what is wrong with the file, when there is
    // more to say than that reading failed.
    QString Message;
    // The encoding plain text was read in; none for RTF.
    std::optional<TSourceEncoding> Encoding;
    // Whether Text is in Aozora Bunko notation, when the reading looked already.
    std::optional<bool> AozoraNotation;
    // The reader's lines of Text, when the reading laid them out already.
    std::shared_ptr<TPreparedLines> Prepared;
};

// The steps of reading a file, where a reading on a worker thread may be stopped.
enum class TLoadStage
{
    Reading,  // after each piece of the file read
    Read,     // every byte read, nothing decoded yet
    Decoded,  // the text complete, about to be laid out and handed over
    LayingOut // now and then while the text is laid out for the reader
};

// How a reading that may take long is watched: Stopped is asked between its steps, Stage is told
// each step (on the reading thread), and a file larger than Limit bytes (0: no limit) is refused
// before it is read whole.
struct TReadControl
{
    std::function<bool()> Stopped;
    std::function<void(TLoadStage)> Stage;
    qint64 Limit = 0;
};

// Plain text is read in the given encoding, or in the one detected when none is given. The file
// is read to its end as it is then: a file that grows or shrinks meanwhile gives what was there,
// and one that grows past the limit is refused.
TTextFileContent ReadTextFile(const QString& path, std::optional<TSourceEncoding> encoding = {},
                              const TReadControl& control = {});

// The largest file the program reads: a text takes several times its size in memory (the bytes,
// the decoded text, the text view's copy and the line index), so a tenth of the physical memory,
// and never more than the text view's positions can count.
qint64 TextFileSizeLimit();
// The message for a file of size bytes refused by the limit.
QString TooLargeMessage(qint64 size, qint64 limit);

// Whether a path names a ".TXT" file: the part of its file name from the last dot on, in
// upper case, is exactly ".TXT".
bool IsPlainTextName(const QString& path);
