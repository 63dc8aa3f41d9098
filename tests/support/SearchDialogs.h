#pragma once

// The search commands' dialogs as the scripted service logs them, and a short way to script
// their answers; shared by the search flow's and the search window's tests.

#include "tests/support/ScriptedDialogs.h"

#include <QString>
#include <QStringList>

namespace SearchDialogs {

inline const QString MarkerPrompt = QStringLiteral("目印となる文字[記号]を入力してください。");
inline const QString LineStringBox =
    QStringLiteral("input|  文字列の検索 ( '':中止 )|") + MarkerPrompt;
inline const QString ContentsBox =
    QStringLiteral("input|  目次の作成(順序にも注意) ( '':中止 )|") + MarkerPrompt;
inline const QString SimpleBox =
    QStringLiteral("input|  目次の作成(順序は無関係) ( '':中止 )|") + MarkerPrompt;
inline const QString WidthBox =
    QStringLiteral("input|  目次の作成 ( 0:無制限, '':中止 )|検索する幅を入力してください。|0");
inline const QString IndentQuestion =
    QStringLiteral("message|  目次の作成|検索する行は段落ちですか？");
inline const QString NothingFound =
    QStringLiteral("message|  確認|該当する行は､見つかりませんでした。");
inline const QString Interrupted = QStringLiteral("message|  確認|検索は中断されました。");

inline QString found(int count)
{
    return QStringLiteral("message|  確認|該当する行が､%1行見つかりました。").arg(count);
}

// Scripted answers: "in:text" an input box's OK, "cancel" its Cancel, "yes" / "no" a question.
inline void script(TScriptedDialogs& dialogs, const QStringList& answers)
{
    for (const QString& answer : answers) {
        if (answer.startsWith(u"in:"))
            dialogs.AnswerInput(answer.mid(3));
        else if (answer == u"cancel")
            dialogs.AnswerInput(std::nullopt);
        else
            dialogs.AnswerButton(answer == u"yes" ? 6 : 7);
    }
}

} // namespace SearchDialogs
