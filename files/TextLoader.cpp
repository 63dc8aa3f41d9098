#include "files/TextLoader.h"

#include "common/AppConstants.h"
#include "files/FileState.h"
#include "files/TextFileReader.h"

namespace {

const QString EmptyCaption = QStringLiteral("Quorvelane");

constexpr int FlagsYesNoCancel = 3;

} // namespace

void TTextLoader::SetText(const QString& text)
{
    if (text.isEmpty() && Port.TextEmpty())
        return; // no change, so no change notification would clear the flag
    Files.IgnoreTextChange = true;
    Port.LoadText(text);
}

bool TTextLoader::MayReplaceText()
{
    if (!Port.TextModified())
        return true;
    const QString question = QStringLiteral("テキストが変更されています。") +
                             QStringLiteral("\r\n\r\n") + QStringLiteral("変更を保存しますか?");
    switch (Port.MessageBox(question, ConfirmCaption(), FlagsYesNoCancel)) {
    case AnswerYes:
        return Port.SaveText();
    case AnswerNo:
        return true;
    default:
        // Cancel, or no box could be shown: the edits are kept.
        return false;
    }
}

// Staying on the edited text: the list points at its file again (or at nothing when the list no
// longer holds it), not at the file that was not loaded.
void TTextLoader::SelectCurrentFile()
{
    int row = -1;
    for (int i = 0; i < Port.PathCount() && row < 0; ++i)
        if (Port.PathAt(i) == Files.CurrentFileName)
            row = i;
    Port.SelectFile(row < Port.FileCount() ? row : -1);
}

void TTextLoader::Fail()
{
    SetText(QString());
    Port.SetResearchVisible(false);
    Port.RebuildReader();
    Port.MessageBox(QStringLiteral("ファイル読込みに失敗しました。"), ErrorCaption(), 0);
}

void TTextLoader::LoadSelected()
{
    if (Port.SelectedFile() < 0 || Port.SelectedFile() >= Port.FileCount())
        Port.SelectFile(0);
    Port.ResetReadingLine();
    const int row = Port.SelectedFile();
    if (row >= Port.PathCount()) {
        Fail();
        return;
    }
    const QString path = Port.PathAt(row);
    Files.CurrentFileName = path;
    Port.SetFileHint(path);
    Port.ClearContents();
    SetText(QString());
    const TTextFileContent content = ReadTextFile(path);
    switch (content.Status) {
    case TTextFileContent::TStatus::Missing:
        Port.SetResearchVisible(false);
        Port.RebuildReader();
        Port.MessageBox(QStringLiteral("ファイルが見つかりませんでした。"), ConfirmCaption(), 0);
        break;
    case TTextFileContent::TStatus::Failed:
        Fail();
        break;
    case TTextFileContent::TStatus::Read:
        SetText(content.Text);
        // The re-search button is there exactly when there is text to search.
        Port.SetResearchVisible(Port.LineCount() > 0);
        Port.RebuildReader();
        break;
    }
}

bool TTextLoader::FileNameListBoxClick()
{
    if (!MayReplaceText()) {
        SelectCurrentFile();
        return false;
    }
    Port.SetCaption(QStringLiteral("  テキスト読込み中"));
    if (Port.FileCount() == 0) {
        Port.SetFileHint(QString());
        SetText(QString());
        Port.SetResearchVisible(false);
        Port.RebuildReader();
    } else {
        LoadSelected();
    }
    if (Port.LineCount() == 0)
        Port.SetCaption(EmptyCaption);
    return true;
}

void TTextLoader::MainRichEditChange()
{
    if (Files.IgnoreTextChange) {
        Files.IgnoreTextChange = false;
        return;
    }
    Port.RebuildReader();
}

void TTextLoader::FileNextExecute()
{
    const int row = Port.SelectedFile();
    if (Port.FileCount() == 0 || row >= Port.FileCount() - 1)
        return;
    Port.SelectFile(row < 0 ? 0 : row + 1);
    FileNameListBoxClick();
}

void TTextLoader::FileBackExecute()
{
    if (Port.FileCount() == 0 || Port.SelectedFile() <= 0)
        return;
    Port.SelectFile(Port.SelectedFile() - 1);
    FileNameListBoxClick();
}
