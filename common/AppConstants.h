#pragma once

#include <QString>

// Captions and answer codes that every caller of AppMessageBox shares.

// Caption of information messages and of most questions.
inline QString ConfirmCaption()
{
    return QStringLiteral("  確認");
}
// Caption of failure messages.
inline QString ErrorCaption()
{
    return QStringLiteral(" Error");
}

// AppMessageBox results. The fallback window answers -1, which is neither.
inline constexpr int AnswerCancel = 2;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;

// A search over a folder tree stops once it has found this many files.
inline constexpr int MaxListEntries = 32736;
