#include "files/TextLoader.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "files/FileState.h"
#include "files/TextFileReader.h"
#include "platform/ContentsListBox.h"
#include "platform/MainRichEdit.h"

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace {

const QString EmptyCaption = QStringLiteral("Quorvelane");

constexpr int FlagsYesNoCancel = 3;

} // namespace

void TTextLoader::SetText(const QString& text)
{
    TMainRichEdit* edit = Context.MainRichEdit;
    if (text.isEmpty() && edit->document()->isEmpty())
        return; // no change, so no change notification would clear the flag
    Files.IgnoreTextChange = true;
    edit->LoadText(text);
    // A text put in by the program holds no edits of the user's.
    edit->document()->setModified(false);
}

bool TTextLoader::MayReplaceText()
{
    if (!Context.MainRichEdit->document()->isModified())
        return true;
    const QString question = QStringLiteral("テキストが変更されています。") +
                             QStringLiteral("\r\n\r\n") + QStringLiteral("変更を保存しますか?");
    switch (AppMessageBox(question, ConfirmCaption(), FlagsYesNoCancel)) {
    case AnswerYes:
        return Context.SaveText && Context.SaveText();
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
    const QList<QListWidgetItem*> found =
        Context.FilePathListBox->findItems(Files.CurrentFileName, Qt::MatchExactly);
    const int row = found.isEmpty() ? -1 : Context.FilePathListBox->row(found.constFirst());
    Context.FileNameListBox->setCurrentRow(row < Context.FileNameListBox->count() ? row : -1);
}

// The re-search button is there exactly when there is text to search, and the reader shows it.
void TTextLoader::ShowTextState()
{
    Context.FindResearchButton->setVisible(Context.LineCount() > 0);
    Context.RebuildReader();
}

void TTextLoader::Fail()
{
    SetText(QString());
    Context.FindResearchButton->hide();
    Context.RebuildReader();
    AppMessageBox(QStringLiteral("ファイル読込みに失敗しました。"), ErrorCaption(), 0);
}

bool TTextLoader::FileNameListBoxClick()
{
    if (!MayReplaceText()) {
        SelectCurrentFile();
        return false;
    }
    QListWidget* names = Context.FileNameListBox;
    Context.SetCaption(QStringLiteral("  テキスト読込み中"));
    if (names->count() == 0) {
        names->setToolTip(QString());
        SetText(QString());
        Context.FindResearchButton->hide();
        Context.RebuildReader();
    } else {
        if (names->currentRow() < 0 || names->currentRow() >= names->count())
            names->setCurrentRow(0);
        *Context.ReadingLine = 0;
        Context.ReadingLineScrollBar->setValue(0);
        const int row = names->currentRow();
        if (row >= Context.FilePathListBox->count()) {
            Fail();
        } else {
            const QString path = Context.FilePathListBox->item(row)->text();
            Files.CurrentFileName = path;
            names->setToolTip(path);
            Context.ContentsListBox->Clear();
            SetText(QString());
            const TTextFileContent content = ReadTextFile(path);
            switch (content.Status) {
            case TTextFileContent::TStatus::Missing:
                Context.FindResearchButton->hide();
                Context.RebuildReader();
                AppMessageBox(QStringLiteral("ファイルが見つかりませんでした。"), ConfirmCaption(),
                              0);
                break;
            case TTextFileContent::TStatus::Failed:
                Fail();
                break;
            case TTextFileContent::TStatus::Read:
                SetText(content.Text);
                ShowTextState();
                break;
            }
        }
    }
    if (Context.LineCount() == 0)
        Context.SetCaption(EmptyCaption);
    return true;
}

void TTextLoader::MainRichEditChange()
{
    if (Files.IgnoreTextChange) {
        Files.IgnoreTextChange = false;
        return;
    }
    Context.RebuildReader();
}

void TTextLoader::FileNextExecute()
{
    QListWidget* names = Context.FileNameListBox;
    if (names->count() == 0 || names->currentRow() >= names->count() - 1)
        return;
    names->setCurrentRow(names->currentRow() < 0 ? 0 : names->currentRow() + 1);
    FileNameListBoxClick();
}

void TTextLoader::FileBackExecute()
{
    QListWidget* names = Context.FileNameListBox;
    if (names->count() == 0 || names->currentRow() <= 0)
        return;
    names->setCurrentRow(names->currentRow() - 1);
    FileNameListBoxClick();
}
