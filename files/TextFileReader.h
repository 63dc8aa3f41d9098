#pragma once

#include <QString>

// Reading one file of the list into text: ".TXT" files (in any letter case) are plain text;
// every other file goes through the RTF reader when it is RTF, and is plain text otherwise.
struct TTextFileContent
{
    enum class TStatus { Read, Missing, Failed };
    TStatus Status = TStatus::Failed;
    QString Text;
    QString Error; // what failed, for Failed
};

TTextFileContent ReadTextFile(const QString& path);

// Whether a path names a ".TXT" file: the part of its file name from the last dot on, in
// upper case, is exactly ".TXT".
bool IsPlainTextName(const QString& path);
