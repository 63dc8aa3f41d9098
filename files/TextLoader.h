#pragma once

#include <QString>

struct TFileState;

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
    // Whether the user has edited the text view since the program last put a text in it.
    virtual bool TextModified() const = 0;
    // The save command; true once the text is saved.
    virtual bool SaveText() = 0;
};

// Loads the selected file of the list into the text view and moves through the list.
class TTextLoader
{
public:
    TTextLoader(TFileState& files, TLoaderPort& port) : Files(files), Port(port) {}

    // False when the user chose to stay on an edited text, so that nothing was loaded.
    bool FileNameListBoxClick();
    void MainRichEditChange();
    void FileNextExecute();
    void FileBackExecute();

    // Every road that replaces the text view's text asks this first. An edited text is not let
    // go without a word: the user saves it (Yes, through the save command), drops the edits
    // (No) or stays on it (Cancel, or a save that did not happen). True when the road may go on.
    bool MayReplaceText();

private:
    void SelectCurrentFile();
    void SetText(const QString& text);
    void LoadSelected();
    void Fail();

    TFileState& Files;
    TLoaderPort& Port;
};
