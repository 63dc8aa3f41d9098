#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// A contents entry names a line of the text view and shows its text:
//   line number last:  text + "= " + number   ("第一章= 012")
//   line number first: number + "= " + text   ("012= 第一章")
// The number is 1-based and zero-padded to the digit count of the line count at search time.

inline const QString ContentsSeparator = QStringLiteral("= ");

// Digits of the line count: 99 lines number as "07", 100 lines as "007".
int ContentsNumberWidth(int lineCount);

// The entry for a line; text is the line already stripped of its leading spaces.
QString MakeContentsEntry(QStringView text, int lineNumber, int numberWidth, bool lineForward);

// A number as entries and input boxes hold it: leading half-width spaces skipped, then an
// optionally signed decimal integer that fills the rest and fits an int. Anything else, the
// empty string included, is no number.
std::optional<int> ParseContentsNumber(QStringView text);

// Where selecting an entry leads: the target line index, or the message to show instead.
struct TContentsTarget
{
    std::optional<int> Line;
    QString Message;
    QString Caption;
};

// The reading of a selected entry. lineForward is the form the list is in now; lineCount the
// text view's lines now, which bound the target.
TContentsTarget ParseContentsEntry(const QString& entry, bool lineForward, int lineCount);

// The lines the entries name, in order and each once; entries naming no line are left out.
QList<int> ContentsLines(const QStringList& entries, bool lineForward, int lineCount);

// Switches every entry between the two forms by exchanging the sides of its first "=": the
// name before it, the rest after it less one character (the blank of the separator), giving
// rest + "= " + name. A text holding "=" therefore does not come back: "a=b= 012" becomes
// "= 012= a". An entry without any "=" cannot be switched: nullopt, and the list stays as it was.
std::optional<QStringList> SwapContentsEntries(const QStringList& entries);

// The message when SwapContentsEntries fails.
inline const QString ContentsSwapFailedMessage = QStringLiteral("リスト変更に失敗しました。");
