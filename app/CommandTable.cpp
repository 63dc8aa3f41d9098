#include "app/CommandTable.h"

#include "app/QuorvelaneMain.h"

namespace {

QKeySequence key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    return QKeySequence(QKeyCombination(m, k));
}

} // namespace

const QList<TCommand>& Commands()
{
    using F = TQuorvelaneForm;
    using A = TSearchAction;
    static const QList<TCommand> commands = {
        {"FileSave", "File", QStringLiteral("保存(&S)"), key(Qt::Key_S, Qt::ControlModifier), false,
         true, [](F& f) { f.FileSaveExecute(); }},
        {"FileBack", "File", QStringLiteral("前へ(&B)"), key(Qt::Key_F1), false, true,
         [](F& f) { f.FileBackExecute(); }},
        {"FileNext", "File", QStringLiteral("次へ(&N)"), key(Qt::Key_F2), false, true,
         [](F& f) { f.FileNextExecute(); }},
        {"FileSearchAll", "File", QStringLiteral("全検索(&A)"),
         key(Qt::Key_A, Qt::ControlModifier)},
        {"AppExit", "File", QStringLiteral("終了(&X)"), key(Qt::Key_X, Qt::ControlModifier), false,
         true, [](F& f) { f.AppExitExecute(); }},
        {"MenuEdit", "Edit", QStringLiteral("編集(&E)"), {}, false, true,
         [](F& f) { f.MenuEditExecute(); }},
        {"TextCut", "Edit", QStringLiteral("切り取り(&T)"), {}, false, true,
         [](F& f) { f.TextCutExecute(); }},
        {"TextCopy", "Edit", QStringLiteral("コピー(&C)"), {}, false, true,
         [](F& f) { f.TextCopyExecute(); }},
        {"TextPaste", "Edit", QStringLiteral("貼り付け(&P)"), {}, false, true,
         [](F& f) { f.TextPasteExecute(); }},
        {"TextAllSelect", "Edit", QStringLiteral("すべて選択(&L)"), {}, false, true,
         [](F& f) { f.TextAllSelectExecute(); }},
        {"FindLineString", "Search", QStringLiteral("文字列検索(&F)"), {}, false, true,
         [](F& f) { f.FindLineStringExecute(A::FindLineString); }},
        {"FindParagraph", "Search", QStringLiteral("段落検索(&P)"), {}, false, true,
         [](F& f) { f.FindLineStringExecute(A::FindParagraph); }},
        {"FindContents", "Search", QStringLiteral("目次検索(&C)"), {}, false, true,
         [](F& f) { f.FindLineStringExecute(A::FindContents); }},
        {"FindSimpleContents", "Search", QStringLiteral("簡易目次検索(&S)"), {}, false, true,
         [](F& f) { f.FindLineStringExecute(A::FindSimpleContents); }},
        {"FindResearch", "Search", QStringLiteral("再検索(&R)"), {}, false, true,
         [](F& f) { f.FindResearchExecute(); }},
        {"SlideRead", "Reading", QStringLiteral("スライドリード（&S)"), key(Qt::Key_F3), true, true,
         [](F& f) { f.SlideReadExecute(); }},
        {"CanChangeSlideRead", "Reading", QStringLiteral("変速スライド(&C)"), key(Qt::Key_F4), true,
         true, [](F& f) { f.CanChangeSlideReadExecute(); }},
        {"SlideRepeat", "Reading", QStringLiteral("繰り返す(&R)"), key(Qt::Key_F5), true, true,
         [](F& f) { f.SlideRepeatExecute(); }},
        {"ListSlideRead", "Reading", QStringLiteral("リストのファイル(&A)"), key(Qt::Key_F6), true,
         true, [](F& f) { f.ListSlideReadExecute(); }},
        {"SetCanChangeSlideRead", "Reading", QStringLiteral("変速スライドの設定(&L)"), {}, false,
         true, [](F& f) { f.SetCanChangeSlideReadExecute(); }},
        {"PageBack", "Reading", QStringLiteral("PageBack"), key(Qt::Key_B, Qt::ControlModifier),
         false, false, [](F& f) { f.PageBackExecute(); }},
        {"PageNext", "Reading", QStringLiteral("PageNext"), key(Qt::Key_N, Qt::ControlModifier),
         false, false, [](F& f) { f.PageNextExecute(); }},
        {"SetBase", "Settings", QStringLiteral("基本設定(&B)"), {}, false, true,
         [](F& f) { f.SetBaseExecute(); }},
        {"SetFont", "Settings", QStringLiteral("フォント(&F)"), {}, false, true,
         [](F& f) { f.SetFontExecute(); }},
        {"SetBackColor", "Settings", QStringLiteral("バックカラー(&B)"), {}, false, true,
         [](F& f) { f.SetBackColorExecute(); }},
        {"ReflectFormAll", "Settings", QStringLiteral("すべてに反映(&R)"), {}, true, true,
         [](F& f) { f.ReflectFormAllExecute(); }},
        {"SetAnyFilter", "Settings", QStringLiteral("すべてのファイル(&A)"), {}, true, true,
         [](F& f) { f.SetAnyFilterExecute(); }},
        {"SetContentsLineForward", "Settings", QStringLiteral("行数が前(&L)"), {}, true, true,
         [](F& f) { f.SetContentsLineForwardExecute(); }},
        {"AppHelp", "Help", QStringLiteral("ヘルプの表示(&H)"), {}, false, true,
         [](F& f) { f.AppHelpExecute(); }},
        {"AppVersion", "Help", QStringLiteral("バージョン情報(&A)"), {}, false, true,
         [](F& f) { f.AppVersionExecute(); }},
    };
    return commands;
}

const QList<TMenuDefinition>& MainMenus()
{
    static const QList<TMenuDefinition> menus = {
        {"FileMenu",
         QStringLiteral("ファイル(&F)"),
         {"FileSave", "-", "FileBack", "FileNext", "-", "FileSearchAll", "-", "AppExit"}},
        {"MenuEdit",
         QStringLiteral("編集(&E)"),
         {"TextCut", "TextCopy", "TextPaste", "TextAllSelect", "-", ">検索(&S)", "FindLineString",
          "FindParagraph", "FindContents", "FindSimpleContents", "<"}},
        {"ReadingMenu",
         QStringLiteral("リーディング(&R)"),
         {"SlideRead", "CanChangeSlideRead", "SlideRepeat", "ListSlideRead", "-",
          "SetCanChangeSlideRead"}},
        {"SettingMenu",
         QStringLiteral("設定(&S)"),
         {"SetBase", "SetFont", "SetBackColor", "ReflectFormAll", "-", "SetAnyFilter", "-",
          "SetContentsLineForward"}},
        {"HelpMenu",
         QStringLiteral("ヘルプ(&H)"),
         {"AppHelp", "AppVersion", "PageBack", "PageNext"}},
    };
    return menus;
}
