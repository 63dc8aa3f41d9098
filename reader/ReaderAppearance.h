#pragma once

#include "platform/FontFace.h"
#include "reader/SlideEngine.h"

#include <QString>

// Who asks for the colour scheme: the font command applies only the font colours, the
// background command only the backgrounds, everyone else both halves.
enum class TColorSender
{
    Window,
    SetFont,
    SetBackColor,
    ReflectFormAll
};

// How the reader looks: the text view's font, the reader's background, the spacing of the
// labels and the colour scheme. The saved fields are settings of [BaseData], with their
// defaults; the lists' indexes are the items selected in the font size and spacing lists.
struct TReaderLook
{
    TFontSpec TextFont{QStringLiteral("ＭＳ Ｐゴシック"), 10};
    int FontSize = 4;
    int LabelSpace = 1;
    // The system's button face.
    qint32 BackColor = qint32(0x8000000Fu);
    // ReflectFormAll's check mark mirrors it.
    bool FormAllChange = false;
};

// What the appearance needs from the main window.
class TAppearancePort
{
public:
    virtual ~TAppearancePort() = default;

    // The text view takes the font and its colour; the labels take the colour.
    virtual void ShowTextFont(const TFontSpec& font) = 0;
    virtual void ShowBackColor(qint32 color) = 0;
    virtual void ShowFormAllColors(TColorSender sender, const TReaderLook& look) = 0;
    virtual void ShowFormAllCheck(bool checked) = 0;
    // The lists beside the reader show these items (the program's own selection, no handler).
    virtual void SelectFontSize(int index) = 0;
    virtual void SelectLabelSpace(int index) = 0;
    virtual void SelectLabelStep(int index) = 0;
    virtual void SelectReadTimer(int index) = 0;
    // The slide engine takes the interval of the chosen item.
    virtual void SetReadInterval(int ms) = 0;
    virtual void SetLabelSpacing(int spacing) = 0;
    virtual int LabelCount() const = 0;
    // Lays the labels out again and shows the reading position.
    virtual void RebuildReader() = 0;
    // The display lines were numbered anew: the contents list is emptied and the search can be
    // repeated when there is text.
    virtual void LinesRenumbered() = 0;
    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
};

// The reader's appearance and its lists: fonts, colours, label spacing and lines per slide.
// Both states are the form's, lent here.
class TReaderAppearance
{
public:
    TReaderAppearance(TReaderLook& look, TSlideState& slide, TAppearancePort& port)
        : Look(look), Slide(slide), Port(port)
    {}

    // After the settings are read: the lists show the saved items (the first one for an item
    // outside a list) and the reader takes their numbers, its font and its background.
    void ApplySaved();
    // The saved lines-per-slide item waits for the first relayout.
    void HoldSavedLabelStep();

    void SetFontExecute();
    void FontSizeComboBoxChange(int index);
    void LabelSpaceComboBoxChange(int index);
    void LabelStepComboBoxChange(int index);
    void ReadTimerComboBoxChange(int index);
    // The lines-per-slide rule for the item the list shows now.
    void CheckLabelStep() { LabelStepComboBoxChange(ShownStepIndex()); }
    void SetBackColorExecute();
    void ReflectFormAllExecute();
    void ApplyFormAllColors(TColorSender sender);
    // After the reader was laid out anew: the lines-per-slide rule against the labels that fit.
    void RelayoutLabels();
    // The selected item of the lines-per-slide list is the one-page item.
    bool IsOnePageStepSelected() const;

private:
    int ShownStepIndex() const { return Slide.LabelStepPending ? 0 : Slide.SlideLabelStep; }
    void ShowFontSize(int index);
    void SelectStep(int index);
    void SelectOnePage();

    TReaderLook& Look;
    TSlideState& Slide;
    TAppearancePort& Port;
};

// An item of a list of count items: the index itself when it is in the list, else the first.
int ListIndexOrFirst(int index, int count);
