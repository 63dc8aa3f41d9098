#include "files/TextLoader.h"

#include "common/AppConstants.h"
#include "files/FileState.h"
#include "files/FolderListing.h"
#include "files/TextFileReader.h"
#include "files/TextLoadThread.h"

#include <QFile>

namespace {

const QString EmptyCaption = QStringLiteral("Quorvelane");

constexpr int FlagsYesNoCancel = 3;

qint64 FileSize(const QString& path)
{
    QFile file;
    return OpenListedFile(file, path, QIODevice::ReadOnly) ? file.size() : 0;
}

} // namespace

TTextLoader::TTextLoader(TFileState& files, TLoaderPort& port)
    : Files(files), Port(port), Threads(std::make_unique<QObject>())
{}

TTextLoader::~TTextLoader()
{
    const QList<TTextLoadThread*> threads = Threads->findChildren<TTextLoadThread*>();
    for (TTextLoadThread* thread : threads)
        thread->requestInterruption();
    for (TTextLoadThread* thread : threads)
        thread->wait();
}

void TTextLoader::Abandon()
{
    if (Current)
        Current->requestInterruption();
    Current = nullptr;
}

void TTextLoader::StartReading(const QString& path)
{
    auto* thread = new TTextLoadThread(path, Encodings.Chosen(path), Limit, StageHook,
                                       Port.LinePreparer(), Threads.get());
    Current = thread;
    // Delivered on this thread once the reading has ended, whether it is still wanted or not.
    QObject::connect(thread, &QThread::finished, Threads.get(),
                     [this, thread] { Arrived(thread); });
    thread->start();
}

void TTextLoader::Arrived(TTextLoadThread* thread)
{
    thread->deleteLater();
    if (thread != Current)
        return;
    Current = nullptr;
    Port.SetTextReadOnly(false);
    ShowContent(thread->TakeContent());
    if (Port.LineCount() == 0)
        Port.SetCaption(EmptyCaption);
}

void TTextLoader::SetText(const QString& text)
{
    if (text.isEmpty()) {
        Display.Clear();
        Port.SetTextReadOnly(false);
    }
    Port.ShowAnnotations(Display);
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

void TTextLoader::Fail(const QString& message)
{
    SetText(QString());
    Port.SetResearchVisible(false);
    Port.RebuildReader();
    Port.MessageBox(message.isEmpty() ? QStringLiteral("ファイル読込みに失敗しました。") : message,
                    ErrorCaption(), 0);
}

void TTextLoader::ShowEncoding(std::optional<TSourceEncoding> used)
{
    Port.ShowEncoding(used, !Encodings.Chosen(Files.CurrentFileName));
}

void TTextLoader::ShowRead(const QString& raw, std::optional<bool> notation)
{
    const QString shown = Display.Show(raw, notation);
    SetText(shown);
    Port.SetTextReadOnly(Display.IsFormatted());
}

// The same text shown anew: the lines are numbered anew, so the reader starts over and the
// contents go, as after loading.
void TTextLoader::ShowAgain()
{
    const QString raw = Display.IsFormatted() ? Display.RawText() : Port.Text();
    if (raw.isEmpty())
        return;
    Port.ClearContents();
    Port.ResetReadingLine();
    ShowRead(raw);
    Port.SetResearchVisible(Port.LineCount() > 0);
    Port.RebuildReader();
}

void TTextLoader::SetAozoraFormatting(bool enabled)
{
    Display.Enabled = enabled;
    const bool formatted = Display.IsFormatted();
    // Edits of the raw text stay as they are; the choice applies from the next text read.
    if (!formatted && Port.TextModified())
        return;
    const bool wanted = enabled && HasAozoraNotation(formatted ? Display.RawText() : Port.Text());
    if (formatted != wanted)
        ShowAgain();
}

void TTextLoader::SetRubyStyle(TRubyStyle style)
{
    Display.Style = style;
    if (Display.IsFormatted())
        ShowAgain();
}

void TTextLoader::ChooseEncoding(std::optional<TSourceEncoding> encoding)
{
    // The file in view, which need not be the row the arrow keys moved to since.
    int row = -1;
    for (int i = 0; i < Port.PathCount() && row < 0; ++i) {
        if (Port.PathAt(i) == Files.CurrentFileName)
            row = i;
    }
    if (Files.CurrentFileName.isEmpty() || row < 0 || row >= Port.FileCount()) {
        ShowEncoding(std::nullopt);
        return;
    }
    Encodings.Choose(Files.CurrentFileName, encoding);
    Port.SelectFile(row);
    FileNameListBoxClick();
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
    if (FileSize(path) >= AsyncFrom) {
        // Nothing is typed into the emptied view while the file is on its way: the file's text
        // would take its place.
        Port.SetTextReadOnly(true);
        StartReading(path);
        return;
    }
    TReadControl control;
    control.Limit = Limit;
    ShowContent(ReadTextFile(path, Encodings.Chosen(path), control));
}

void TTextLoader::ShowContent(const TTextFileContent& content)
{
    switch (content.Status) {
    case TTextFileContent::TStatus::Missing:
        Port.SetResearchVisible(false);
        Port.RebuildReader();
        Port.MessageBox(QStringLiteral("ファイルが見つかりませんでした。"), ConfirmCaption(), 0);
        break;
    case TTextFileContent::TStatus::Failed:
        Fail(content.Message);
        break;
    case TTextFileContent::TStatus::Read:
        ShowEncoding(content.Encoding);
        if (content.Prepared)
            Port.OfferPreparedLines(content.Prepared);
        ShowRead(content.Text, content.AozoraNotation);
        // The re-search button is there exactly when there is text to search.
        Port.SetResearchVisible(Port.LineCount() > 0);
        Port.RebuildReader();
        break;
    case TTextFileContent::TStatus::Abandoned:
        break;
    }
}

bool TTextLoader::FileNameListBoxClick()
{
    if (!MayReplaceText()) {
        SelectCurrentFile();
        return false;
    }
    Abandon();
    Port.SetCaption(QStringLiteral("  テキスト読込み中"));
    ShowEncoding(std::nullopt);
    if (Port.FileCount() == 0) {
        Port.SetFileHint(QString());
        SetText(QString());
        Port.SetResearchVisible(false);
        Port.RebuildReader();
    } else {
        LoadSelected();
    }
    if (!Loading() && Port.LineCount() == 0)
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
