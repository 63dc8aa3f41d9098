#pragma once

#include <QString>
#include <functional>

class QListWidget;
class QPushButton;
class QScrollBar;
class TContentsListBox;
class TMainRichEdit;
struct TFileState;

// What loading a file touches in the main window.
struct TTextLoaderContext
{
    QListWidget* FileNameListBox = nullptr;
    QListWidget* FilePathListBox = nullptr;
    TMainRichEdit* MainRichEdit = nullptr;
    TContentsListBox* ContentsListBox = nullptr;
    QPushButton* FindResearchButton = nullptr;
    QScrollBar* ReadingLineScrollBar = nullptr;
    int* ReadingLine = nullptr;
    std::function<void(const QString&)> SetCaption;
    std::function<void()> RebuildReader;
    // The text view's line count as displayed; 0 for an empty text.
    std::function<int()> LineCount;
    // The save command; true once the text is saved.
    std::function<bool()> SaveText;
};

// Loads the selected file of the list into the text view and moves through the list.
class TTextLoader
{
public:
    TTextLoader(TTextLoaderContext context, TFileState& files)
        : Context(std::move(context)), Files(files)
    {}

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
    void ShowTextState();
    void Fail();

    TTextLoaderContext Context;
    TFileState& Files;
};
