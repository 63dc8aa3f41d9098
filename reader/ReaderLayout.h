#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The arithmetic of the reader labels and the settings lists beside the reader, free of
// widgets so the main window only applies the results.

// Labels fit into the reader panel: 6 pixels margin above and below, one line of the font plus
// the spacing per label, truncated toward zero, but always at least the zero label. A line
// height plus spacing of zero or less (no usable font) also gives one label.
int ReaderLabelCount(int panelHeight, int lineHeight, int spacing);

// Top edge of label i inside the panel.
int ReaderLabelTop(int i, int lineHeight, int spacing);

// The texts of the four settings lists, in list order. Every number is written in eight
// characters, right-aligned with leading blanks and at least two digits ("      04"); the
// interval list zero-pads to five digits after three blanks ("   00050").
QStringList ReadTimerItems();
QStringList FontSizeItems();
QStringList LabelSpaceItems();
// Ends with the one-page item.
QStringList LabelStepItems();
// The one-page item of the lines-per-slide list, "  1ﾍﾟｰｼﾞ毎".
QString LabelStepOnePageItem();

// The number an item shows, read with the program's usual conversion (leading blanks
// skipped); nullopt for the one-page item or anything else that is not a number.
std::optional<int> ItemNumber(const QString& item);
// ItemNumber of each item; an item without a number gives 0.
QList<int> ItemNumbers(const QStringList& items);

struct TLabelStepChoice
{
    int SlideStep = 1;
    int SelectIndex = 0; // the item the lines-per-slide list is to show
    bool operator==(const TLabelStepChoice&) const = default;
};

// The rule applied when the lines-per-slide list changes. numbers[i] is the number of item i
// for every item before lastIndex, the one-page item. The wanted step is the number of the
// selected item, or labelCount for the one-page item. nullopt when the wanted step equals
// slideStep (nothing changes). A step above the page becomes one page with the one-page item
// selected (at least one line, even without labels); a step below 1 becomes 1 with item 0
// selected, and so does a selection outside the list. An item without a number counts as 0.
std::optional<TLabelStepChoice> LabelStepRule(int selectedIndex, const QList<int>& numbers,
                                              int lastIndex, int labelCount, int slideStep);

struct TFontSizeChoice
{
    int Index = 0;
    int Size = 0;
    bool operator==(const TFontSizeChoice&) const = default;
};

// The first size of the list that is at least the chosen one, or the last size when none is
// large enough; nullopt for an empty list.
std::optional<TFontSizeChoice> SnapFontSize(int chosen, const QList<int>& sizes);
// The same over the font size list's own numbers.
std::optional<TFontSizeChoice> SnapFontSize(int chosen);
