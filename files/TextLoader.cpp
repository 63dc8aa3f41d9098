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

} // namespace

void TTextLoader::SetText(const QString& text)
{
    TMainRichEdit* edit = Context.MainRichEdit;
    if (text.isEmpty()) {
        Display.Clear();
        edit->setReadOnly(false);
    }
    if (Context.ShowAnnotations)
        Context.ShowAnnotations(Display);
    if (text.isEmpty() && edit->document()->isEmpty())
        return; // no change, so no change notification would clear the flag
    Files.IgnoreTextChange = true;
    edit->LoadText(text);
}

// The re-search button is there exactly when there is text to search, and the reader shows it.
void TTextLoader::ShowTextState()
{
    Context.FindResearchButton->setVisible(Context.LineCount() > 0);
    Context.RebuildReader();
}

void TTextLoader::Fail(const QString& message)
{
    SetText(QString());
    Context.FindResearchButton->hide();
    Context.RebuildReader();
    AppMessageBox(message.isEmpty() ? QStringLiteral("ファイル読込みに失敗しました。") : message,
                  ErrorCaption(), 0);
}

void TTextLoader::ShowRead(const QString& raw)
{
    const QString shown = Display.Show(raw);
    SetText(shown);
    Context.MainRichEdit->setReadOnly(Display.IsFormatted());
}

// The same text shown anew: the lines are numbered anew, so the reader starts over and the
// contents go, as after loading.
void TTextLoader::ShowAgain()
{
    const QString raw =
        Display.IsFormatted() ? Display.RawText() : Context.MainRichEdit->toPlainText();
    if (raw.isEmpty())
        return;
    Context.ContentsListBox->Clear();
    *Context.ReadingLine = 0;
    Context.ReadingLineScrollBar->setValue(0);
    ShowRead(raw);
    ShowTextState();
}

void TTextLoader::SetAozoraFormatting(bool enabled)
{
    Display.Enabled = enabled;
    const bool formatted = Display.IsFormatted();
    const bool wanted =
        enabled &&
        HasAozoraNotation(formatted ? Display.RawText() : Context.MainRichEdit->toPlainText());
    if (formatted != wanted)
        ShowAgain();
}

void TTextLoader::SetRubyStyle(TRubyStyle style)
{
    Display.Style = style;
    if (Display.IsFormatted())
        ShowAgain();
}

QString TTextLoader::TextToSave() const
{
    return Display.IsFormatted() ? Display.RawText() : Context.MainRichEdit->toPlainText();
}

void TTextLoader::ShowEncoding(std::optional<TTextEncoding> used)
{
    if (Context.ShowEncoding)
        Context.ShowEncoding(used, !Encodings.Chosen(Files.CurrentFileName));
}

void TTextLoader::ChooseEncoding(std::optional<TTextEncoding> encoding)
{
    // The file in view, which need not be the row the arrow keys moved to since.
    const QList<QListWidgetItem*> rows =
        Context.FilePathListBox->findItems(Files.CurrentFileName, Qt::MatchExactly);
    if (Files.CurrentFileName.isEmpty() || rows.isEmpty()) {
        ShowEncoding(std::nullopt);
        return;
    }
    Encodings.Choose(Files.CurrentFileName, encoding);
    Context.FileNameListBox->setCurrentRow(Context.FilePathListBox->row(rows.first()));
    FileNameListBoxClick();
}

void TTextLoader::FileNameListBoxClick()
{
    QListWidget* names = Context.FileNameListBox;
    Context.SetCaption(QStringLiteral("  テキスト読込み中"));
    ShowEncoding(std::nullopt);
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
            const TTextFileContent content = ReadTextFile(path, Encodings.Chosen(path));
            switch (content.Status) {
            case TTextFileContent::TStatus::Missing:
                Context.FindResearchButton->hide();
                Context.RebuildReader();
                AppMessageBox(QStringLiteral("ファイルが見つかりませんでした。"), ConfirmCaption(),
                              0);
                break;
            case TTextFileContent::TStatus::Failed:
                Fail(content.Message);
                break;
            case TTextFileContent::TStatus::Read:
                ShowEncoding(content.Encoding);
                ShowRead(content.Text);
                ShowTextState();
                break;
            }
        }
    }
    if (Context.LineCount() == 0)
        Context.SetCaption(EmptyCaption);
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
