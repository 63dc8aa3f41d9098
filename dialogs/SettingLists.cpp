#include "dialogs/SettingLists.h"

#include "common/AppConstants.h"
#include "common/SplitWX.h"
#include "files/FileFilters.h"
#include "platform/Cp932.h"
#include "platform/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <exception>

namespace {

const QString FilterPrompt = QStringLiteral("例)*.txt , *.txt;*.rtf , ':中止");
const QString AlreadyListed = QStringLiteral("は既に登録されています。");

// Folders are compared as given, so a trailing separator would let one folder in twice; the
// root keeps its only separator.
QString WithoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// An input box whose Cancel, or a box that cannot be shown, gives the preset back.
QString AskFilter(const QString& caption, const QString& preset)
{
    try {
        return Dialogs().InputBox(caption, FilterPrompt, preset).value_or(preset);
    } catch (const TDialogUnavailable&) {
        return preset;
    }
}

} // namespace

QString LowerAsciiLetters(const QString& text)
{
    QString lowered = text;
    for (QChar& c : lowered)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 0x20);
    return lowered;
}

bool CheckFilterText(QString& Text, const TSettingMessage& message)
{
    Text = TrimPadding(Text);
    if (Cp932Width(Text) <= 2)
        return false;
    Text = LowerAsciiLetters(Text);
    QStringList retained;
    try {
        TSplitWX splitter;
        const int count = splitter.Split(Text, QStringLiteral(";"));
        for (int i = 0; i < count; ++i) {
            const QString piece = splitter.Pieces.at(i);
            if (Cp932Width(piece) > 2 && piece.startsWith(QLatin1String("*."))) {
                const QStringView rest = QStringView(piece).mid(2);
                const bool forbidden = std::any_of(rest.begin(), rest.end(), [](QChar c) {
                    return ForbiddenFilterCharacters.contains(c);
                });
                if (!forbidden) {
                    retained.append(piece);
                    continue;
                }
                message(ForbiddenFilterCharacters + QStringLiteral(" は使用できません。"),
                        ConfirmCaption(), 0);
            } else {
                message(piece + QStringLiteral(" はフィルタには使用できません。"), ConfirmCaption(),
                        0);
            }
        }
    } catch (const std::exception&) {
        // What was retained before the failure still counts.
    }
    if (retained.isEmpty())
        return false;
    Text = retained.join(u';');
    return true;
}

TSettingLists::TSettingLists(TSettingMessage message) : MessageFn(std::move(message)) {}

int TSettingLists::Message(const QString& text, const QString& caption, int flags) const
{
    return MessageFn ? MessageFn(text, caption, flags) : -1;
}

void TSettingLists::LoadFilters(bool AnyChecked, const QString& AllFilter, const QString& NowFilter)
{
    Copies.AnyFilter = AnyChecked;
    Copies.Filters.clear();
    Copies.FilterIndex = -1;
    const QList<TFilterItem> fallback = {{QStringLiteral("*.txt"), true}};
    try {
        TSplitWX all;
        const int count = all.Split(AllFilter, QStringLiteral("/"));
        if (count == 0) {
            Copies.Filters = fallback;
            return;
        }
        // An empty piece is no item the dialog could have made (a hand-edited or damaged
        // settings file); it would only stand in the list as a blank line.
        for (int i = 0; i < count; ++i)
            if (!all.Pieces.at(i).isEmpty())
                Copies.Filters.append({LowerAsciiLetters(all.Pieces.at(i)), false});
        if (Copies.Filters.isEmpty())
            Copies.Filters.append({QStringLiteral("*.txt"), false});
        TSplitWX now;
        const int pieces = now.Split(NowFilter, QStringLiteral(";"));
        if (pieces == 0) {
            Copies.Filters = fallback;
            return;
        }
        for (int i = 0; i < pieces; ++i) {
            const QString piece = LowerAsciiLetters(now.Pieces.at(i));
            if (piece.isEmpty())
                continue;
            for (TFilterItem& item : Copies.Filters) {
                if (item.Text.contains(piece)) {
                    item.Checked = true;
                    break;
                }
            }
        }
    } catch (const std::exception&) {
        Copies.Filters = fallback;
    }
}

void TSettingLists::LoadFolders(const QStringList& SelectedFolders)
{
    Copies.FolderPaths.clear();
    Copies.FolderNames.clear();
    for (const QString& path : SelectedFolders) {
        Copies.FolderPaths.append(path);
        Copies.FolderNames.append(SelectedFolderCaption(path));
    }
    Copies.FolderIndex = -1;
    Copies.FolderHint.clear();
}

void TSettingLists::FilterCheckListBoxClick()
{
    QList<TFilterItem>& items = Copies.Filters;
    if (items.isEmpty()) {
        items.append({QStringLiteral("*.txt"), true});
        return;
    }
    if (std::any_of(items.begin(), items.end(), [](const TFilterItem& i) { return i.Checked; }))
        return;
    Message(QStringLiteral("ひとつ以上選択してください。"), ConfirmCaption(), 0);
    const int at =
        Copies.FilterIndex >= 0 && Copies.FilterIndex < items.size() ? Copies.FilterIndex : 0;
    items[at].Checked = true;
}

bool TSettingLists::FilterExistsElsewhere(const QString& text, int except) const
{
    for (int i = 0; i < Copies.Filters.size(); ++i)
        if (i != except && Copies.Filters.at(i).Text == text)
            return true;
    return false;
}

void TSettingLists::AddFilterButtonClick()
{
    const auto message = [this](const QString& t, const QString& c, int f) {
        return Message(t, c, f);
    };
    QString text = AskFilter(QStringLiteral("  フィルタ追加"), QStringLiteral("*."));
    if (!CheckFilterText(text, message))
        return;
    if (FilterExistsElsewhere(text, -1)) {
        Message(text + AlreadyListed, ConfirmCaption(), 0);
        return;
    }
    Copies.Filters.append({text, false});
}

void TSettingLists::ChangeFilterButtonClick()
{
    const int at = Copies.FilterIndex;
    if (at < 0 || at >= Copies.Filters.size())
        return;
    const TFilterItem item = Copies.Filters.at(at);
    const auto message = [this](const QString& t, const QString& c, int f) {
        return Message(t, c, f);
    };
    QString text = AskFilter(QStringLiteral("  フィルタ変更"), item.Text);
    if (!CheckFilterText(text, message))
        return;
    if (FilterExistsElsewhere(text, at)) {
        Message(text + AlreadyListed, ConfirmCaption(), 0);
        return;
    }
    Copies.Filters[at] = {text, item.Checked};
}

void TSettingLists::DeleteFilterButtonClick()
{
    if (Copies.Filters.size() < 2) {
        Message(QStringLiteral("ひとつ以上残してください。"), ConfirmCaption(), 0);
        return;
    }
    const int at = Copies.FilterIndex;
    if (at < 0 || at >= Copies.Filters.size())
        return;
    if (Message(QStringLiteral("選択されているフィルタを削除します。"),
                QStringLiteral("  フィルタ削除"), 4) != AnswerYes)
        return;
    Copies.Filters.removeAt(at);
    Copies.FilterIndex = -1;
}

void TSettingLists::MoveFilter(int to)
{
    const int from = Copies.FilterIndex;
    if (from < 0 || from >= Copies.Filters.size() || to < 0 || to >= Copies.Filters.size())
        return;
    // The item takes its check mark along.
    Copies.Filters.swapItemsAt(from, to);
    Copies.FilterIndex = to;
}

void TSettingLists::CheckListUpButtonClick()
{
    MoveFilter(Copies.FilterIndex - 1);
}

void TSettingLists::CheckListDownButtonClick()
{
    if (Copies.FilterIndex >= 0)
        MoveFilter(Copies.FilterIndex + 1);
}

void TSettingLists::SelectedFolderNameListBoxClick()
{
    const int at = Copies.FolderIndex;
    Copies.FolderHint =
        at >= 0 && at < Copies.FolderPaths.size() ? Copies.FolderPaths.at(at) : QString();
}

void TSettingLists::AddFolderPath(const QString& Path, bool Quiet)
{
    const QString path = WithoutTrailingSeparator(Path);
    if (Copies.FolderPaths.contains(path)) {
        if (!Quiet)
            Message(QStringLiteral("既に登録されています。"), ConfirmCaption(), 0);
        return;
    }
    Copies.FolderPaths.append(path);
    Copies.FolderNames.append(SelectedFolderCaption(path));
}

void TSettingLists::AddFolderButtonClick()
{
    std::optional<QString> folder;
    try {
        folder = Dialogs().ChooseFolder(QStringLiteral(" フォルダの選択"), QDir::currentPath());
    } catch (const std::exception&) {
        Message(QStringLiteral("ダイアログを表示できませんでした。"), ErrorCaption(), 0);
        return;
    }
    if (folder && !folder->isEmpty())
        AddFolderPath(*folder, false);
}

void TSettingLists::DeleteFolderButtonClick()
{
    const int at = Copies.FolderIndex;
    if (at >= 0 && at < Copies.FolderPaths.size()) {
        Copies.FolderPaths.removeAt(at);
        Copies.FolderNames.removeAt(at);
    }
    if (Copies.FolderPaths.isEmpty()) {
        Copies.FolderIndex = -1;
        return;
    }
    Copies.FolderIndex = at > 0 ? at - 1 : 0;
    SelectedFolderNameListBoxClick();
}

void TSettingLists::WindowsFolderButtonClick()
{
    AddStandardFolders(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void TSettingLists::AddStandardFolders(const QString& desktop, const QString& documents)
{
    if (desktop.isEmpty() && documents.isEmpty()) {
        Message(QStringLiteral("フォルダ検出に失敗しました。"), ErrorCaption(), 0);
        return;
    }
    for (const QString& folder : {desktop, documents})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            AddFolderPath(folder, true);
}

void TSettingLists::MoveFolder(int to)
{
    const int from = Copies.FolderIndex;
    if (from < 0 || from >= Copies.FolderPaths.size() || to < 0 || to >= Copies.FolderPaths.size())
        return;
    Copies.FolderPaths.swapItemsAt(from, to);
    Copies.FolderNames.swapItemsAt(from, to);
    Copies.FolderIndex = to;
}

void TSettingLists::ListUpButtonClick()
{
    MoveFolder(Copies.FolderIndex - 1);
}

void TSettingLists::ListDownButtonClick()
{
    if (Copies.FolderIndex >= 0)
        MoveFolder(Copies.FolderIndex + 1);
}

QString TSettingLists::JoinedFilters() const
{
    QStringList texts;
    for (const TFilterItem& item : Copies.Filters)
        texts.append(item.Text);
    return texts.join(u'/');
}

QString TSettingLists::JoinedCheckedFilters() const
{
    QStringList texts;
    for (const TFilterItem& item : Copies.Filters)
        if (item.Checked)
            texts.append(item.Text);
    return texts.join(u';');
}

QString TSettingLists::JoinedFolders() const
{
    return Copies.FolderPaths.join(u';');
}
