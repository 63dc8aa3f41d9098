#include "reader/ReaderAppearance.h"

#include "common/AppConstants.h"
#include "platform/DialogService.h"
#include "reader/ReaderLayout.h"

namespace {

const QString ConvertingCaption = QStringLiteral("  変換中");

// Shows "  変換中" while a change is applied and puts the kept caption back afterwards, unless
// the rebuilt reader has shown a new position meanwhile (the old one would show a stale count).
class TCaptionKeeper
{
public:
    explicit TCaptionKeeper(TAppearancePort& port) : Port(port), Kept(port.Caption())
    {
        Port.SetCaption(ConvertingCaption);
    }
    ~TCaptionKeeper()
    {
        if (Port.Caption() == ConvertingCaption)
            Port.SetCaption(Kept);
    }
    TCaptionKeeper(const TCaptionKeeper&) = delete;
    TCaptionKeeper& operator=(const TCaptionKeeper&) = delete;

private:
    TAppearancePort& Port;
    QString Kept;
};

// The number item index of the list shows; nullopt outside the list or for an item without one.
std::optional<int> itemNumberAt(const QStringList& items, int index)
{
    if (index < 0 || index >= items.size())
        return std::nullopt;
    return ItemNumber(items.at(index));
}

} // namespace

int ListIndexOrFirst(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

void TReaderAppearance::ApplySaved()
{
    Port.ShowBackColor(Look.BackColor);
    Port.ShowFormAllCheck(Look.FormAllChange);
    if (Look.FormAllChange)
        ApplyFormAllColors(TColorSender::Window);
    Slide.SlideInterval = ListIndexOrFirst(Slide.SlideInterval, int(ReadTimerItems().size()));
    Port.SelectReadTimer(Slide.SlideInterval);
    Port.SetReadInterval(itemNumberAt(ReadTimerItems(), Slide.SlideInterval).value_or(1000));
    Look.LabelSpace = ListIndexOrFirst(Look.LabelSpace, int(LabelSpaceItems().size()));
    Port.SelectLabelSpace(Look.LabelSpace);
    Port.SetLabelSpacing(itemNumberAt(LabelSpaceItems(), Look.LabelSpace).value_or(0));
    Look.FontSize = ListIndexOrFirst(Look.FontSize, int(FontSizeItems().size()));
    Port.SelectFontSize(Look.FontSize);
    Look.TextFont.Size = itemNumberAt(FontSizeItems(), Look.FontSize).value_or(10);
    Port.ShowTextFont(Look.TextFont);
}

void TReaderAppearance::HoldSavedLabelStep()
{
    Slide.LabelStepPending = true;
    Port.SelectLabelStep(0);
}

void TReaderAppearance::ShowFontSize(int index)
{
    Look.FontSize = index;
    Port.SelectFontSize(index);
}

void TReaderAppearance::SetFontExecute()
{
    TCaptionKeeper caption(Port);
    if (const auto chosen = Dialogs().ChooseFont(Look.TextFont)) {
        const auto snapped = SnapFontSize(chosen->Size);
        Look.TextFont = *chosen;
        if (snapped) {
            ShowFontSize(snapped->Index);
            Look.TextFont.Size = snapped->Size;
        }
        Port.ShowTextFont(Look.TextFont);
        Port.RebuildReader();
    }
    if (Look.FormAllChange)
        ApplyFormAllColors(TColorSender::SetFont);
    CheckLabelStep();
}

void TReaderAppearance::FontSizeComboBoxChange(int index)
{
    TCaptionKeeper caption(Port);
    // No selection falls back to the seventh item and its own size, 12 points.
    if (index < 0)
        index = 6;
    ShowFontSize(index);
    Look.TextFont.Size = itemNumberAt(FontSizeItems(), index).value_or(12);
    Port.ShowTextFont(Look.TextFont);
    Port.RebuildReader();
    Port.LinesRenumbered();
}

void TReaderAppearance::LabelSpaceComboBoxChange(int index)
{
    const auto spacing = itemNumberAt(LabelSpaceItems(), index);
    if (!spacing)
        Port.MessageBox(QStringLiteral("行間隔の指定に失敗しました。"), ErrorCaption(), 0);
    if (!spacing || *spacing < 0) {
        Port.SetLabelSpacing(0);
        Look.LabelSpace = 0;
        Port.SelectLabelSpace(0);
    } else {
        Port.SetLabelSpacing(*spacing);
        Look.LabelSpace = index;
    }
    Port.RebuildReader();
}

void TReaderAppearance::ReadTimerComboBoxChange(int index)
{
    Slide.SlideInterval = index;
    if (const auto ms = itemNumberAt(ReadTimerItems(), index))
        Port.SetReadInterval(*ms);
}

void TReaderAppearance::SelectStep(int index)
{
    if (!Slide.LabelStepPending)
        Slide.SlideLabelStep = index;
    Port.SelectLabelStep(index);
}

void TReaderAppearance::LabelStepComboBoxChange(int index)
{
    const QStringList items = LabelStepItems();
    if (!Slide.LabelStepPending)
        Slide.SlideLabelStep = index;
    const auto choice = LabelStepRule(index, ItemNumbers(items), int(items.size()) - 1,
                                      Port.LabelCount(), Slide.SlideStep);
    if (!choice)
        return;
    if (index != choice->SelectIndex)
        SelectStep(choice->SelectIndex);
    Slide.SlideStep = choice->SlideStep;
}

bool TReaderAppearance::IsOnePageStepSelected() const
{
    return ShownStepIndex() == int(LabelStepItems().size()) - 1;
}

void TReaderAppearance::SelectOnePage()
{
    const int last = int(LabelStepItems().size()) - 1;
    SelectStep(last);
    LabelStepComboBoxChange(last);
}

void TReaderAppearance::RelayoutLabels()
{
    const QStringList items = LabelStepItems();
    const int last = int(items.size()) - 1;
    if (Slide.LabelStepPending) {
        Slide.LabelStepPending = false;
        // A saved step outside the list counts as its first entry.
        const int index = ListIndexOrFirst(Slide.SlideLabelStep, last + 1);
        SelectStep(index);
        Slide.SlideStep = index < last ? itemNumberAt(items, index).value_or(1) : Port.LabelCount();
        LabelStepComboBoxChange(index);
        // A saved step longer than the page would pass over lines unseen; it becomes one page,
        // as it does at every later relayout.
        if (Port.LabelCount() < Slide.SlideStep)
            SelectOnePage();
        return;
    }
    if (Port.LabelCount() < Slide.SlideStep)
        SelectOnePage();
    else if (Slide.SlideLabelStep == last)
        LabelStepComboBoxChange(last);
    Port.LinesRenumbered();
}

void TReaderAppearance::SetBackColorExecute()
{
    if (const auto color = Dialogs().ChooseColor(Look.BackColor)) {
        Look.BackColor = *color;
        Port.ShowBackColor(Look.BackColor);
    }
    if (Look.FormAllChange)
        ApplyFormAllColors(TColorSender::SetBackColor);
}

void TReaderAppearance::ReflectFormAllExecute()
{
    // The check mark has switched the flag already.
    ApplyFormAllColors(TColorSender::ReflectFormAll);
}

void TReaderAppearance::ApplyFormAllColors(TColorSender sender)
{
    Port.ShowFormAllColors(sender, Look);
}
