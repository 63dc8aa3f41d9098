#pragma once

#include <QString>

// The message box of the searches and the contents list: flags 0 (OK) or 4 (Yes/No). Returns
// the pressed button (1, 6, 7), or -1 when no box can be shown, so a caller goes on as after
// OK or No.
int SearchMessageBox(const QString& text, const QString& caption, int flags = 0);

namespace SearchCaptions {
// Caption of information messages and of questions.
inline const QString Confirm = QStringLiteral("  確認");
// Caption of internal errors.
inline const QString Error = QStringLiteral(" Error");
} // namespace SearchCaptions

// The Yes button of a question.
inline constexpr int SearchAnswerYes = 6;
