#pragma once

#include "files/AozoraDisplay.h"
#include "files/EncodingChoice.h"
#include "files/TextFileReader.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct TFileState;
class TTextLoadThread;

// What loading a file needs from the main window.
class TLoaderPort
{
public:
    virtual ~TLoaderPort() = default;

    // FileNameListBox and the hidden FilePathListBox beside it, row for row.
    virtual int FileCount() const = 0;
    virtual int SelectedFile() const = 0;
    virtual void SelectFile(int row) = 0;
    virtual int PathCount() const = 0;
    virtual QString PathAt(int row) const = 0;
    virtual void SetFileHint(const QString& hint) = 0;
    // The text view: whether it is empty, and a new text for it (which changes it).
    virtual bool TextEmpty() const = 0;
    virtual void LoadText(const QString& text) = 0;
    // The text view's line count as displayed; 0 for an empty text.
    virtual int LineCount() const = 0;
    // The reader starts again at the first line.
    virtual void ResetReadingLine() = 0;
    virtual void ClearContents() = 0;
    virtual void SetResearchVisible(bool visible) = 0;
    virtual void RebuildReader() = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // The text view's own text, and whether the user may edit it.
    virtual QString Text() const = 0;
    virtual void SetTextReadOnly(bool readOnly) = 0;
    // The encoding the text in view was read in (none without plain text), and whether it was
    // detected rather than picked by hand.
    virtual void ShowEncoding(std::optional<TSourceEncoding> used, bool detected) = 0;
    // The text view got a new text: the reader learns what the notes of a formatted one said.
    virtual void ShowAnnotations(const TAozoraDisplay& display) = 0;
    // Lays a text out for the reader off the window's thread, as the window's font and width
    // stand now; none where the lines are only laid out in the window.
    virtual TLinePreparer LinePreparer() const { return {}; }
    // The reader's lines of the text about to be loaded, laid out while it was read.
    virtual void OfferPreparedLines(std::shared_ptr<TPreparedLines>) {}
    // Whether the user has edited the text view since the program last put a text in it.
    virtual bool TextModified() const = 0;
    // The save command; true once the text is saved.
    virtual bool SaveText() = 0;
};

// Loads the selected file of the list into the text view and moves through the list.
class TTextLoader
{
public:
    TTextLoader(TFileState& files, TLoaderPort& port);
    // Waits for the readings still running, each stopped first; none waits for this thread.
    ~TTextLoader();
    TTextLoader(const TTextLoader&) = delete;
    TTextLoader& operator=(const TTextLoader&) = delete;

    // False when the user chose to stay on an edited text, so that nothing was loaded.
    bool FileNameListBoxClick();
    void MainRichEditChange();
    void FileNextExecute();
    void FileBackExecute();
    // Reads the file in view again in the given encoding, or in the one detected, and keeps
    // that choice for the file.
    void ChooseEncoding(std::optional<TSourceEncoding> encoding);
    // Turns the formatting of Aozora Bunko notation on or off, or shows ruby another way, for
    // the text in view and the texts read after it.
    void SetAozoraFormatting(bool enabled);
    void SetRubyStyle(TRubyStyle style);
    // What the text view shows; saving writes the text read while it shows a formatted one.
    const TAozoraDisplay& Aozora() const { return Display; }

    // Every road that replaces the text view's text asks this first. An edited text is not let
    // go without a word: the user saves it (Yes, through the save command), drops the edits
    // (No) or stays on it (Cancel, or a save that did not happen). True when the road may go on.
    bool MayReplaceText();

    // A file is being read on a worker thread; the text in view is empty meanwhile.
    bool Loading() const { return Current != nullptr; }
    // Files of at least this many bytes are read on a worker thread; smaller ones at once, where
    // the hand-over would cost more than the reading.
    void SetAsyncFrom(qint64 bytes) { AsyncFrom = bytes; }
    // Files larger than this are refused before they are read whole.
    void SetSizeLimit(qint64 bytes) { Limit = bytes; }
    qint64 SizeLimit() const { return Limit; }
    // Told each step of a reading on the worker thread, there: tests hold a reading at a step.
    void SetStageHook(std::function<void(TLoadStage)> hook) { StageHook = std::move(hook); }

private:
    void SelectCurrentFile();
    void SetText(const QString& text);
    void LoadSelected();
    void Fail(const QString& message = QString());
    void ShowEncoding(std::optional<TSourceEncoding> used);
    // Shows a text read, formatted when it is in Aozora Bunko notation and formatting is on.
    void ShowRead(const QString& raw, std::optional<bool> notation = std::nullopt);
    void ShowAgain();
    void StartReading(const QString& path);
    void Arrived(TTextLoadThread* thread);
    void ShowContent(const TTextFileContent& content);
    // Stops the reading in progress, whose text is no longer wanted.
    void Abandon();

    TFileState& Files;
    TLoaderPort& Port;
    TEncodingChoices Encodings;
    TAozoraDisplay Display;
    qint64 AsyncFrom = 1 << 20;
    qint64 Limit = TextFileSizeLimit();
    std::function<void(TLoadStage)> StageHook;
    // Parent of the reading threads and the receiver of their end, on this thread.
    std::unique_ptr<QObject> Threads;
    TTextLoadThread* Current = nullptr;
};
