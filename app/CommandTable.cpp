#include "app/CommandTable.h"

#include "app/QuorvelaneMain.h"
#include "platform/AozoraNotation.h"

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
         key(Qt::Key_A, Qt::ControlModifier), false, true,
         [](F& f) { f.FileSearchAllExecute(); }},
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
        {"FindHeadings", "Search", QStringLiteral("見出し検索(&H)"), {}, false, true,
         [](F& f) { f.FindHeadingsExecute(); }},
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
        {"ShowStatusStrip", "Reading", QStringLiteral("状態の表示(&I)"), {}, true, true,
         [](F& f) { f.ShowStatusStripExecute(); }},
        {"KeepPlaces", "Reading", QStringLiteral("位置を記憶"), {}, true, true,
         [](F& f) { f.KeepPlacesExecute(); }},
        {"FullScreenReader", "Reading", QStringLiteral("全画面(&U)"), key(Qt::Key_F11), true, true,
         [](F& f) { f.FullScreenReaderExecute(); }},
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
        {"AozoraFormat", "Settings", QStringLiteral("青空文庫の注記を整形"), {}, true, true,
         [](F& f) { f.AozoraFormatExecute(); }},
        {"RubyAbove", "Settings", QStringLiteral("ルビを上に表示"), {}, true, true,
         [](F& f) { f.SetRubyStyleExecute(TRubyStyle::Above); }},
        {"RubyParenthesised", "Settings", QStringLiteral("ルビを括弧で表示"), {}, true, true,
         [](F& f) { f.SetRubyStyleExecute(TRubyStyle::Parenthesised); }},
        {"RubyHidden", "Settings", QStringLiteral("ルビを表示しない"), {}, true, true,
         [](F& f) { f.SetRubyStyleExecute(TRubyStyle::Hidden); }},
        {"EncodingAuto", "Settings", QStringLiteral("自動"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(std::nullopt); }},
        {"EncodingShiftJis", "Settings", QStringLiteral("Shift-JIS"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::ShiftJis); }},
        {"EncodingEucJp", "Settings", QStringLiteral("EUC-JP"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::EucJp); }},
        {"EncodingJis", "Settings", QStringLiteral("JIS"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::Jis); }},
        {"EncodingUtf8", "Settings", QStringLiteral("UTF-8"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::Utf8); }},
        {"EncodingUtf16Le", "Settings", QStringLiteral("UTF-16LE"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::Utf16Le); }},
        {"EncodingUtf16Be", "Settings", QStringLiteral("UTF-16BE"), {}, true, true,
         [](F& f) { f.SetEncodingExecute(TSourceEncoding::Utf16Be); }},
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
          "FindParagraph", "FindContents", "FindSimpleContents", "FindHeadings", "<"}},
        {"ReadingMenu",
         QStringLiteral("リーディング(&R)"),
         {"SlideRead", "CanChangeSlideRead", "SlideRepeat", "ListSlideRead", "-",
          "SetCanChangeSlideRead", "-", "ShowStatusStrip", "KeepPlaces", "FullScreenReader"}},
        {"SettingMenu",
         QStringLiteral("設定(&S)"),
         {"SetBase", "SetFont", "SetBackColor", "ReflectFormAll", "-", "SetAnyFilter", "-",
          "SetContentsLineForward", "-", "AozoraFormat", ">ルビ(&U)", "RubyAbove",
          "RubyParenthesised", "RubyHidden", "<", ">文字コード(&E)", "EncodingAuto", "-",
          "EncodingShiftJis", "EncodingEucJp", "EncodingJis", "EncodingUtf8", "EncodingUtf16Le",
          "EncodingUtf16Be", "<"}},
        {"HelpMenu",
         QStringLiteral("ヘルプ(&H)"),
         {"AppHelp", "AppVersion", "PageBack", "PageNext"}},
    };
    return menus;
}

QString EncodingActionName(TSourceEncoding encoding)
{
    switch (encoding) {
    case TSourceEncoding::ShiftJis:
        return QStringLiteral("EncodingShiftJis");
    case TSourceEncoding::EucJp:
        return QStringLiteral("EncodingEucJp");
    case TSourceEncoding::Jis:
        return QStringLiteral("EncodingJis");
    case TSourceEncoding::Utf8:
        return QStringLiteral("EncodingUtf8");
    case TSourceEncoding::Utf16Le:
        return QStringLiteral("EncodingUtf16Le");
    case TSourceEncoding::Utf16Be:
        return QStringLiteral("EncodingUtf16Be");
    }
    return {};
}
