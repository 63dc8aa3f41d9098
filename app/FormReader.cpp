// The reader's handlers: labels, fonts, the settings lists and the slide engine's commands.
#include "app/QuorvelaneMain.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "platform/Colors.h"
#include "platform/FolderControls.h"
#include "platform/Fonts.h"
#include "platform/MainRichEdit.h"
#include "reader/ReaderLayout.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QFileInfo>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QLabel>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTimer>

namespace {

const QString ConvertingCaption = QStringLiteral("  変換中");

// Shows "  変換中" while a change is applied and puts the kept caption back afterwards, unless
// the rebuilt reader has shown a new position meanwhile (the old one would show a stale count).
class TCaptionKeeper
{
public:
    explicit TCaptionKeeper(QWidget* window) : Window(window), Kept(window->windowTitle())
    {
        Window->setWindowTitle(ConvertingCaption);
    }
    ~TCaptionKeeper()
    {
        if (Window->windowTitle() == ConvertingCaption)
            Window->setWindowTitle(Kept);
    }
    TCaptionKeeper(const TCaptionKeeper&) = delete;
    TCaptionKeeper& operator=(const TCaptionKeeper&) = delete;

private:
    QWidget* Window;
    QString Kept;
};

std::optional<int> selectedNumber(const QComboBox* box)
{
    return box->currentIndex() < 0 ? std::nullopt : ItemNumber(box->currentText());
}

} // namespace

int TQuorvelaneForm::LabelCount() const { return ReaderView ? ReaderView->LabelCount() : 0; }
int TQuorvelaneForm::LabelSpacing() const { return ReaderView ? ReaderView->LabelSpacing() : 0; }
int TQuorvelaneForm::LineCount() const { return ReaderView->count(); }
QString TQuorvelaneForm::Line(int i) const { return ReaderView->line(i); }

bool TQuorvelaneForm::CreateZeroLabel()
{
    try {
        ReaderView->CreateZeroLabel();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TQuorvelaneForm::ApplyTextFont()
{
    MainRichEdit->setFont(FontFromSpec(TextFontSpec));
    const QColor color = ColorFromTColor(TextFontSpec.Color);
    QPalette palette = MainRichEdit->palette();
    palette.setColor(QPalette::Text, color);
    MainRichEdit->setPalette(palette);
    ReaderView->SetFontColor(color);
}

void TQuorvelaneForm::RebuildReader()
{
    if (Form.FormInactive || ResizeTimer->isActive())
        return;
    const int line = Slide.ReadingLine;
    ReaderView->UpdateScrollRange();
    // A new font or width moved the place to another line number: the scroll bar follows.
    if (Slide.ReadingLine != line)
        Engine->KeepPlace(Slide.ReadingLine);
    ReaderView->CreateReaderLabels();
    Engine->ShowReadingLines();
}

void TQuorvelaneForm::SetTextViewFontSize(int size)
{
    TextFontSpec.Size = size;
    ApplyTextFont();
}

void TQuorvelaneForm::SetFontExecute()
{
    TCaptionKeeper caption(this);
    if (const auto chosen = Dialogs().ChooseFont(TextFontSpec)) {
        const auto snapped = SnapFontSize(chosen->Size);
        TextFontSpec = *chosen;
        if (snapped) {
            FontSizeComboBox->setCurrentIndex(snapped->Index);
            TextFontSpec.Size = snapped->Size;
        }
        ApplyTextFont();
        RebuildReader();
    }
    if (Action(QStringLiteral("ReflectFormAll"))->isChecked())
        ApplyFormAllColors(TColorSender::SetFont);
    LabelStepComboBoxChange();
}

void TQuorvelaneForm::FontSizeComboBoxChange()
{
    TCaptionKeeper caption(this);
    // An unreadable item falls back to the seventh item and its own size, 12 points.
    if (FontSizeComboBox->currentIndex() < 0)
        FontSizeComboBox->setCurrentIndex(6);
    SetTextViewFontSize(selectedNumber(FontSizeComboBox).value_or(12));
    RebuildReader();
    ContentsListBox->Clear();
    if (LineCount() > 0)
        FindResearchButton->show();
}

void TQuorvelaneForm::LabelSpaceComboBoxChange()
{
    const auto spacing = selectedNumber(LabelSpaceComboBox);
    if (!spacing) {
        AppMessageBox(QStringLiteral("行間隔の指定に失敗しました。"), ErrorCaption(), 0);
    }
    if (!spacing || *spacing < 0) {
        ReaderView->SetLabelSpacing(0);
        LabelSpaceComboBox->setCurrentIndex(0);
    } else {
        ReaderView->SetLabelSpacing(*spacing);
    }
    RebuildReader();
}

void TQuorvelaneForm::LabelStepComboBoxChange()
{
    const QList<int> numbers = ItemNumbers(LabelStepItems());
    const auto choice =
        LabelStepRule(LabelStepComboBox->currentIndex(), numbers, LabelStepComboBox->count() - 1,
                      LabelCount(), Slide.SlideStep);
    if (!choice)
        return;
    if (LabelStepComboBox->currentIndex() != choice->SelectIndex) {
        const QSignalBlocker blocker(LabelStepComboBox);
        LabelStepComboBox->setCurrentIndex(choice->SelectIndex);
    }
    Slide.SlideStep = choice->SlideStep;
}

void TQuorvelaneForm::ReadTimerTimer() { Engine->ReadTimerTimer(); }
void TQuorvelaneForm::ShowReadingLines() { Engine->ShowReadingLines(); }
void TQuorvelaneForm::SlideReadExecute() { Engine->SlideReadExecute(); }
void TQuorvelaneForm::CanChangeSlideReadExecute() { Engine->CanChangeSlideReadExecute(); }
void TQuorvelaneForm::SlideRepeatExecute() { Engine->SlideRepeatExecute(); }
void TQuorvelaneForm::ListSlideReadExecute() { Engine->ListSlideReadExecute(); }
void TQuorvelaneForm::SetCanChangeSlideReadExecute() { Engine->SetCanChangeSlideReadExecute(); }
void TQuorvelaneForm::PageBackExecute() { Engine->PageBackExecute(); }
void TQuorvelaneForm::PageNextExecute() { Engine->PageNextExecute(); }
void TQuorvelaneForm::ReadingLineScrollBarScroll(int ScrollPos)
{
    Engine->ReadingLineScrollBarScroll(ScrollPos);
}

void TQuorvelaneForm::ReadTimerComboBoxChange()
{
    if (const auto ms = selectedNumber(ReadTimerComboBox))
        Engine->ReadTimerComboBoxChange(*ms);
}

void TQuorvelaneForm::ShowStatusStripExecute()
{
    StatusStrip->SetShown(Action(QStringLiteral("ShowStatusStrip"))->isChecked());
    ReaderView->SetReservedHeight(StatusStrip->Height());
    PlaceReaderScrollBar();
    RebuildReader();
}

TReaderStatusFacts TQuorvelaneForm::ReaderStatusFacts() const
{
    const bool ticking = ReadTimer->isActive() && ReadTimer->property("Tag").toInt() == 0;
    TReaderStatusFacts facts;
    facts.Run = ticking ? TReadingRun::Running
                        : (Slide.PausedByMouse ? TReadingRun::Paused : TReadingRun::Stopped);
    facts.Variable = Slide.CanChangeSlideRead;
    facts.IntervalMs = Slide.CanChangeSlideRead ? ReadTimer->interval() : Slide.SlideIntervalMs;
    facts.SlideStep = Slide.SlideStep;
    facts.FileName = QFileInfo(Files.CurrentFileName).fileName();
    facts.ReadingLine = Slide.ReadingLine;
    facts.LineCount = LineCount();
    // Each block ends in a paragraph separator, which is no character of the text.
    const QTextDocument* document = MainRichEdit->document();
    facts.Characters = document->characterCount() - document->blockCount();
    return facts;
}

// The check marks of the Reading menu follow the engine's state.
void TQuorvelaneForm::SyncReadingChecks()
{
    const std::pair<const char*, bool> checks[] = {
        {"SlideRead", Slide.SlideRead},
        {"CanChangeSlideRead", Slide.CanChangeSlideRead},
        {"SlideRepeat", Slide.SlideRepeat},
        {"ListSlideRead", Slide.ListSlideRead},
    };
    for (const auto& [name, checked] : checks) {
        QAction* action = Action(QLatin1String(name));
        const QSignalBlocker blocker(action);
        action->setChecked(checked);
    }
}

void TQuorvelaneForm::SetBackColorExecute()
{
    if (const auto color = Dialogs().ChooseColor(ReaderBackColor))
        SetReaderBackColor(*color);
    if (Action(QStringLiteral("ReflectFormAll"))->isChecked())
        ApplyFormAllColors(TColorSender::SetBackColor);
}

void TQuorvelaneForm::ReflectFormAllExecute()
{
    // The action has toggled its own check already.
    ApplyFormAllColors(TColorSender::ReflectFormAll);
}

void TQuorvelaneForm::SetReaderBackColor(qint32 color)
{
    ReaderBackColor = color;
    QPalette palette = ReaderPanel->palette();
    palette.setColor(QPalette::Window, ColorFromTColor(color));
    ReaderPanel->setPalette(palette);
}

TColorTargets TQuorvelaneForm::ColorTargets() const
{
    TColorTargets t;
    t.Controls = {DriveComboBox1,    DirectoryListBox1, FileNameListBox,
                  MainRichEdit,      ReadTimerComboBox, LabelStepComboBox,
                  FontSizeComboBox,  LabelSpaceComboBox, ContentsListBox};
    t.Panels = {DrivePanel,   SettingPanel, TextPanel,     DirectorySplitter,
                LeftSplitter, TextSplitter, RightSplitter, SettingSplitter};
    t.Texts = {DriveComboBox1,     DirectoryListBox1, FileNameListBox,   SlideTimeLabel,
               ReadTimerComboBox,  LabelStepLabel,    LabelStepComboBox, FontSizeLabel,
               FontSizeComboBox,   LabelSpaceLabel,   LabelSpaceComboBox, ContentsListBox};
    return t;
}

void TQuorvelaneForm::ApplyFormAllColors(TColorSender Sender)
{
    const bool reflect = Action(QStringLiteral("ReflectFormAll"))->isChecked();
    ApplyColorPlan(PlanFormAllColors(Sender, reflect, ReaderBackColor, TextFontSpec.Color),
                   ColorTargets());
}

bool TQuorvelaneForm::ReaderMouseEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        Engine->ReaderPanelMouseDown(mouse->button(), mouse->modifiers());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Engine->ReaderPanelMouseUp();
        return true;
    }
    return false;
}
