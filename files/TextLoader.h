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
};

// Loads the selected file of the list into the text view and moves through the list.
class TTextLoader
{
public:
    TTextLoader(TTextLoaderContext context, TFileState& files)
        : Context(std::move(context)), Files(files)
    {
    }

    void FileNameListBoxClick();
    void MainRichEditChange();
    void FileNextExecute();
    void FileBackExecute();

private:
    void SetText(const QString& text);
    void ShowTextState();
    void Fail();

    TTextLoaderContext Context;
    TFileState& Files;
};
