#pragma once

#include "files/AozoraDisplay.h"
#include "files/EncodingChoice.h"

#include <QString>
#include <functional>
#include <optional>

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
    // The encoding the text in view was read in (none without plain text), and whether it was
    // detected rather than picked by hand.
    std::function<void(std::optional<TTextEncoding> used, bool detected)> ShowEncoding;
    // The text view got a new text: the reader learns what the notes of a formatted one said.
    std::function<void(const TAozoraDisplay&)> ShowAnnotations;
};

// Loads the selected file of the list into the text view and moves through the list.
class TTextLoader
{
public:
    TTextLoader(TTextLoaderContext context, TFileState& files)
        : Context(std::move(context)), Files(files)
    {}

    void FileNameListBoxClick();
    void MainRichEditChange();
    void FileNextExecute();
    void FileBackExecute();
    // Reads the file in view again in the given encoding, or in the one detected, and keeps
    // that choice for the file.
    void ChooseEncoding(std::optional<TTextEncoding> encoding);
    // Turns the formatting of Aozora Bunko notation on or off, or shows ruby another way, for
    // the text in view and the texts read after it.
    void SetAozoraFormatting(bool enabled);
    void SetRubyStyle(TRubyStyle style);
    const TAozoraDisplay& Aozora() const { return Display; }
    // The text saving writes: the text read while the formatted text is in view, the view's
    // text otherwise.
    QString TextToSave() const;

private:
    void SetText(const QString& text);
    void ShowTextState();
    void Fail(const QString& message = QString());
    void ShowEncoding(std::optional<TTextEncoding> used);
    // Shows a text read, formatted when it is in Aozora Bunko notation and formatting is on.
    void ShowRead(const QString& raw);
    void ShowAgain();

    TTextLoaderContext Context;
    TFileState& Files;
    TEncodingChoices Encodings;
    TAozoraDisplay Display;
};
