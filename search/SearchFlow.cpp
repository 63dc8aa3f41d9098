#include "search/SearchFlow.h"

#include "common/AppConstants.h"
#include "common/StringToLetters.h"
#include "platform/DialogService.h"
#include "search/ContentsEntry.h"
#include "search/ContentsSearch.h"
#include "search/LineSearch.h"
#include "search/SearchMessages.h"

#include <QStringList>
#include <algorithm>
#include <exception>

namespace {

const QString MarkerPrompt = QStringLiteral("目印となる文字[記号]を入力してください。");
const QString ResearchCaption = QStringLiteral("再検索(R)");

// An input box whose Cancel gives the preset back. nullopt when no box can be shown, which
// ends the search like an empty answer.
std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                const QString& preset)
{
    try {
        return Dialogs().InputBox(caption, prompt, preset).value_or(preset);
    } catch (const TDialogUnavailable&) {
        return std::nullopt;
    }
}

} // namespace

int TSearchPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return SearchMessageBox(text, caption, flags);
}

bool IsHeadingLine(const TSearchState& state, int entries, int line)
{
    // An emptied list (a new text, a new font) names no line, whatever the lines say.
    return entries > 0 &&
           std::binary_search(state.HeadingLines.cbegin(), state.HeadingLines.cend(), line);
}

std::optional<int> ParseSearchWidth(const QString& text)
{
    return ParseContentsNumber(text);
}

struct TSearchFlow::TRequest
{
    TSearchAction Action = TSearchAction::Unknown;
    QString Text;
    QStringList Markers;
    int Width = 0;
    bool Indented = false;
};

void TSearchFlow::FindResearchExecute()
{
    if (State.Searching) {
        State.Searching = false;
        return;
    }
    if (State.SearchType >= 0 && State.SearchType <= 3)
        RunSearch(TSearchAction(State.SearchType), true);
}

void TSearchFlow::RunSearch(TSearchAction action, bool research)
{
    if (State.Searching || Running)
        return;
    State.Searching = true;
    Port.SetResearchButtonVisible(true);
    TRequest request;
    request.Action = action;
    if (prepare(action, research, request))
        run(request, research);
    finish();
    if (LinesMoved) {
        LinesMoved = false;
        Port.LinesRenumbered();
    }
    if (CloseWhenReturned) {
        CloseWhenReturned = false;
        Port.CloseWindow();
    }
}

bool TSearchFlow::CancelForClose()
{
    if (!Running)
        return false;
    State.Searching = false;
    CloseWhenReturned = true;
    return true;
}

int TSearchFlow::message(const QString& text, const QString& caption, int flags)
{
    // A window on its way out shows nothing more of the search it cancelled.
    return CloseWhenReturned ? -1 : Port.MessageBox(text, caption, flags);
}

bool TSearchFlow::prepare(TSearchAction action, bool research, TRequest& request)
{
    QString* stored = nullptr;
    QString caption;
    switch (action) {
    case TSearchAction::FindParagraph:
        State.SearchType = 1;
        request.Markers = {QStringLiteral(" "), QStringLiteral("　")};
        request.Width = 1;
        request.Indented = true;
        return true;
    case TSearchAction::FindLineString:
        State.SearchType = 0;
        stored = &State.SearchLineString;
        caption = QStringLiteral("  文字列の検索 ( '':中止 )");
        break;
    case TSearchAction::FindContents:
        State.SearchType = 2;
        stored = &State.SearchContents;
        caption = QStringLiteral("  目次の作成(順序にも注意) ( '':中止 )");
        break;
    case TSearchAction::FindSimpleContents:
        State.SearchType = 3;
        stored = &State.SearchSimplleContents;
        caption = QStringLiteral("  目次の作成(順序は無関係) ( '':中止 )");
        break;
    default:
        message(QStringLiteral("予定外の呼び出しです。"), SearchCaptions::Error);
        return false;
    }
    if (Port.Lines().count() == 0) {
        message(QStringLiteral("テキストがありません。"), SearchCaptions::Confirm);
        return false;
    }
    if (!askText(research, *stored, caption, request.Text))
        return false;
    if (action == TSearchAction::FindLineString)
        return true;
    if (!askWidth(research, request))
        return false;
    // The appended "0" is the sentinel GetEach_Letter leaves out.
    if (GetEach_Letter(request.Text + u'0', request.Markers) == 0) {
        message(QStringLiteral("文字の分離に失敗しました。"), SearchCaptions::Confirm);
        return false;
    }
    return true;
}

bool TSearchFlow::askText(bool research, QString& stored, const QString& caption, QString& text)
{
    if (research) {
        text = stored;
        return !text.isEmpty();
    }
    const std::optional<QString> answer = inputBox(caption, MarkerPrompt, stored);
    if (!answer || answer->isEmpty())
        return false;
    text = *answer;
    stored = text;
    return true;
}

bool TSearchFlow::askWidth(bool research, TRequest& request)
{
    if (research) {
        if (State.SearchLength < 0)
            State.SearchLength = 0;
        request.Width = State.SearchLength;
        request.Indented = State.SearchOption;
        return true;
    }
    const std::optional<QString> answer =
        inputBox(QStringLiteral("  目次の作成 ( 0:無制限, '':中止 )"),
                 QStringLiteral("検索する幅を入力してください。"), QStringLiteral("0"));
    const std::optional<int> width = answer ? ParseSearchWidth(*answer) : std::nullopt;
    if (!width)
        return false;
    State.SearchLength = *width;
    request.Width = *width;
    request.Indented = message(QStringLiteral("検索する行は段落ちですか？"),
                               QStringLiteral("  目次の作成"), 4) == SearchAnswerYes;
    State.SearchOption = request.Indented;
    return true;
}

void TSearchFlow::run(const TRequest& request, bool research)
{
    const QString caption = Port.Caption();
    Port.BeginContentsUpdate();
    Port.ClearContents();
    State.HeadingLines.clear();

    TSearchTarget target;
    target.Lines = &Port.Lines();
    target.LineForward = State.ContentsLineForward;
    target.Yield = [this, &target] {
        if (!Port.ProcessEvents())
            return State.Searching;
        // A new text, font or width during the turn numbers the lines anew: the lines still to
        // search and the entries found would name different lines. The search ends as if
        // cancelled.
        if (State.Searching && Port.LinesChanged()) {
            State.Searching = false;
            LinesMoved = true;
        }
        // The entries may have been switched to the other form during the turn; new ones follow.
        target.LineForward = State.ContentsLineForward;
        return State.Searching;
    };
    target.AddEntry = [this](const QString& entry) { Port.AddContentsEntry(entry); };
    target.SetCaption = [this](const QString& text) { Port.SetCaption(text); };
    target.SetResearchCaption = [this](const QString& text) { Port.SetResearchCaption(text); };
    target.MessageBox = [this](const QString& text, const QString& caption, int flags) {
        return message(text, caption, flags);
    };
    Port.MarkLines();

    Running = true;
    try {
        switch (request.Action) {
        case TSearchAction::FindLineString:
            Find_Word(request.Text, target);
            break;
        case TSearchAction::FindContents:
            Find_Contents(request.Markers, request.Indented, request.Width, target);
            break;
        case TSearchAction::FindParagraph:
        case TSearchAction::FindSimpleContents:
            Find_Letter(request.Markers, request.Indented, request.Width, State.SearchType, target);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // The routines report their own failures; whatever escapes them still ends here.
    }
    Running = false;

    Port.SetResearchCaption(ResearchCaption);
    Port.SetResearchButtonVisible(false);
    Port.EndContentsUpdate();
    // The headings a contents search found, a cancelled one's too; entries of lines numbered
    // anew under the search name other lines by now.
    const bool contents = request.Action == TSearchAction::FindContents ||
                          request.Action == TSearchAction::FindSimpleContents;
    if (contents && !LinesMoved)
        State.HeadingLines =
            ContentsLines(Port.ContentsEntries(), State.ContentsLineForward, Port.Lines().count());
    if (!research) {
        const int found = Port.ContentsCount();
        message(found > 0 ? QStringLiteral("該当する行が､") + QString::number(found) +
                                QStringLiteral("行見つかりました。")
                          : QStringLiteral("該当する行は､見つかりませんでした。"),
                SearchCaptions::Confirm);
    }
    Port.SetCaption(caption);
}

void TSearchFlow::finish()
{
    if (Port.ResearchButtonVisible()) {
        Port.SetResearchCaption(ResearchCaption);
        Port.SetResearchButtonVisible(false);
    }
    if (State.Searching)
        State.Searching = false;
    else
        message(QStringLiteral("検索は中断されました。"), SearchCaptions::Confirm);
}

void TSearchFlow::ContentsListBoxClick()
{
    const int row = Port.ContentsCurrentRow();
    if (row < 0)
        return;
    const QString entry = Port.ContentsEntry(row);
    Port.SetContentsHint(entry);
    const TContentsTarget target =
        ParseContentsEntry(entry, State.ContentsLineForward, Port.Lines().count());
    if (!target.Line) {
        message(target.Message, target.Caption);
        return;
    }
    Port.ShowLine(*target.Line);
}

void TSearchFlow::SetContentsLineForwardExecute()
{
    // The check mark has switched the flag already.
    const auto swapped = SwapContentsEntries(Port.ContentsEntries());
    if (!swapped) {
        State.ContentsLineForward = !State.ContentsLineForward;
        Port.ShowContentsLineForward(State.ContentsLineForward);
        message(ContentsSwapFailedMessage, ErrorCaption());
        return;
    }
    Port.SetContentsEntries(*swapped);
}
