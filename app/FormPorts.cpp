#include "app/FormPorts.h"

#include "app/CommandTable.h"
#include "app/QuorvelaneMain.h"
#include "dialogs/SettingFrm.h"
#include "dialogs/TextSaver.h"
#include "files/FolderControls.h"
#include "platform/AppUtils.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "platform/MainRichEdit.h"
#include "reader/FontAdvances.h"
#include "reader/FormAllColors.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

int TFormReaderPort::LineCount() const
{
    return Form.LineCount();
}
QString TFormReaderPort::Line(int i) const
{
    return Form.Line(i);
}
bool TFormReaderPort::StartsParagraph(int i) const
{
    return Form.ReaderView->paragraphSpan(i).FirstLine == i;
}
bool TFormReaderPort::IsContentsHeading(int i) const
{
    return IsHeadingLine(Form.State.Search, Form.ContentsListBox->EntryCount(), i);
}
int TFormReaderPort::LabelCount() const
{
    return Form.LabelCount();
}
void TFormReaderPort::SetLabelText(int i, const QString& text)
{
    // The engine fills the labels from the reading line on.
    Form.ReaderView->SetLabelText(i, text, Form.State.Slide.ReadingLine + i);
}
// Whatever the engine shows or switches, the status strip tells.
void TFormReaderPort::SetCaption(const QString& text)
{
    Form.setWindowTitle(text);
    Form.StatusStrip->Refresh();
}
bool TFormReaderPort::IsTimerRunning() const
{
    return Form.ReadTimer->isActive();
}
void TFormReaderPort::StartTimer()
{
    Form.ReadTimer->start();
    Form.StatusStrip->Refresh();
}
void TFormReaderPort::StopTimer()
{
    Form.ReadTimer->stop();
    Form.StatusStrip->Refresh();
}

void TFormReaderPort::SetTimerInterval(int ms)
{
    // QTimer::setInterval restarts a running timer, which is what a new interval means here;
    // it never starts a stopped one.
    Form.ReadTimer->setInterval(ms);
    Form.StatusStrip->Refresh();
}

int TFormReaderPort::TimerInterval() const
{
    return Form.ReadTimer->interval();
}
int TFormReaderPort::TimerTag() const
{
    return Form.State.Slide.TimerTag;
}
void TFormReaderPort::SetTimerTag(int tag)
{
    Form.State.Slide.TimerTag = tag;
}
void TFormReaderPort::SetScrollPosition(int position)
{
    Form.ReadingLineScrollBar->setValue(position);
}
int TFormReaderPort::ScrollPosition() const
{
    return Form.ReadingLineScrollBar->value();
}
int TFormReaderPort::ScrollLargeChange() const
{
    return Form.ReadingLineScrollBar->pageStep();
}
void TFormReaderPort::ChecksChanged()
{
    Form.SyncReadingChecks();
    Form.StatusStrip->Refresh();
}
int TFormReaderPort::FileListCount() const
{
    return Form.FileNameListBox->count();
}
int TFormReaderPort::FileListSelectedIndex() const
{
    return Form.FileNameListBox->currentRow();
}
void TFormReaderPort::SelectFileListEntry(int i)
{
    Form.FileNameListBox->setCurrentRow(i);
}
bool TFormReaderPort::LoadSelectedFile()
{
    return Form.Loader->FileNameListBoxClick();
}
void TFormReaderPort::FileListBox1Change()
{
    Form.FileListBox1Change(Form.FileListBox1);
}
void TFormReaderPort::LabelStepComboBoxChange()
{
    Form.LabelStepComboBoxChange();
}

bool TFormReaderPort::IsOnePageStepSelected() const
{
    return Form.Appearance->IsOnePageStepSelected();
}

void TFormReaderPort::SelectIntervalItem(int i)
{
    Form.ReadTimerComboBox->setCurrentIndex(i);
    Form.ReadTimerComboBoxChange();
}

void TFormReaderPort::FoldOrOpenLeftPanel()
{
    Form.FoldOrOpenLeftPanel();
}
void TFormReaderPort::FoldOrOpenRightPanel()
{
    Form.FoldOrOpenRightPanel();
}

TFormSearchPort::TFormSearchPort(TQuorvelaneForm& form) : Form(form)
{
    // Every change of the text, whoever makes it, renumbers the lines from where it starts.
    TextChangesCounter = QObject::connect(Form.MainRichEdit, &QPlainTextEdit::textChanged,
                                          [this] { ++TextChanges; });
}

TFormSearchPort::~TFormSearchPort()
{
    QObject::disconnect(TextChangesCounter);
}

const TLineSource& TFormSearchPort::Lines() const
{
    return *Form.ReaderView;
}

void TFormSearchPort::BeginContentsUpdate()
{
    Form.ContentsListBox->BeginUpdate();
}
void TFormSearchPort::EndContentsUpdate()
{
    Form.ContentsListBox->EndUpdate();
}

void TFormSearchPort::ClearContents()
{
    Form.ContentsListBox->Clear();
    Form.ContentsListBox->setToolTip(QString());
}

void TFormSearchPort::AddContentsEntry(const QString& entry)
{
    Form.ContentsListBox->AddEntry(entry);
}
int TFormSearchPort::ContentsCount() const
{
    return Form.ContentsListBox->EntryCount();
}
int TFormSearchPort::ContentsCurrentRow() const
{
    return Form.ContentsListBox->CurrentRow();
}
QString TFormSearchPort::ContentsEntry(int row) const
{
    return Form.ContentsListBox->Text(row);
}
void TFormSearchPort::SetContentsHint(const QString& hint)
{
    Form.ContentsListBox->setToolTip(hint);
}

QStringList TFormSearchPort::ContentsEntries()
{
    Form.ContentsListBox->FlushEntries();
    return Form.ContentsListBox->Entries();
}

void TFormSearchPort::SetContentsEntries(const QStringList& entries)
{
    Form.ContentsListBox->SetEntries(entries);
}

void TFormSearchPort::ShowContentsLineForward(bool checked)
{
    Form.Action(QStringLiteral("SetContentsLineForward"))->setChecked(checked);
}

void TFormSearchPort::ShowLine(int line)
{
    Form.State.Slide.ReadingLine = line;
    Form.ReadingLineScrollBar->setValue(line);
    Form.ShowReadingLines();
}

QString TFormSearchPort::Caption() const
{
    return Form.windowTitle();
}
void TFormSearchPort::SetCaption(const QString& caption)
{
    Form.setWindowTitle(caption);
}
bool TFormSearchPort::ResearchButtonVisible() const
{
    return !Form.FindResearchButton->isHidden();
}
void TFormSearchPort::SetResearchButtonVisible(bool visible)
{
    Form.FindResearchButton->setVisible(visible);
}
void TFormSearchPort::SetResearchCaption(const QString& caption)
{
    Form.FindResearchButton->setText(caption);
}
bool TFormSearchPort::ProcessEvents()
{
    // The searches offer a turn every 100 lines, which on a fast machine is every few
    // microseconds; a turn costs far more (the re-search button's new caption is painted and
    // its panel laid out). After the first turns of a search, which always let events through
    // (a short text answers at once), events go through once the last turn is PumpInterval old:
    // the window is as responsive, and the search several times faster.
    if (++Turns > EveryTurnFor && LastPump.isValid() && LastPump.nsecsElapsed() < PumpInterval)
        return false;
    QCoreApplication::processEvents();
    LastPump.start();
    return true;
}

int TFormSearchPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}

TFormSearchPort::TLinesMark TFormSearchPort::CurrentLines() const
{
    return {TextChanges, Form.MainRichEdit->font(), WrapWidthOf(*Form.MainRichEdit)};
}

void TFormSearchPort::MarkLines()
{
    // Called as a search begins.
    Marked = CurrentLines();
    Turns = 0;
}
bool TFormSearchPort::LinesChanged() const
{
    return !(CurrentLines() == Marked);
}

void TFormSearchPort::LinesRenumbered()
{
    if (Form.LineCount() > 0)
        Form.FindResearchButton->show();
    Form.ShowReadingLines();
}

void TFormSearchPort::CloseWindow()
{
    Form.close();
}

void TFormAppearancePort::ShowTextFont(const TFontSpec& font)
{
    Form.MainRichEdit->setFont(FontFromSpec(font));
    const QColor color = ColorFromTColor(font.Color);
    QPalette palette = Form.MainRichEdit->palette();
    palette.setColor(QPalette::Text, color);
    Form.MainRichEdit->setPalette(palette);
    Form.ReaderView->SetFontColor(color);
}

void TFormAppearancePort::ShowBackColor(qint32 color)
{
    QPalette palette = Form.ReaderPanel->palette();
    palette.setColor(QPalette::Window, ColorFromTColor(color));
    Form.ReaderPanel->setPalette(palette);
}

void TFormAppearancePort::ShowFormAllColors(TColorSender sender, const TReaderLook& look)
{
    TQuorvelaneForm& f = Form;
    TColorTargets t;
    t.Controls = {f.DriveComboBox1,   f.DirectoryListBox1,  f.FileNameListBox,
                  f.MainRichEdit,     f.ReadTimerComboBox,  f.LabelStepComboBox,
                  f.FontSizeComboBox, f.LabelSpaceComboBox, f.ContentsListBox};
    t.Panels = {f.DrivePanel,   f.SettingPanel, f.TextPanel,     f.DirectorySplitter,
                f.LeftSplitter, f.TextSplitter, f.RightSplitter, f.SettingSplitter};
    t.Texts = {f.DriveComboBox1,    f.DirectoryListBox1, f.FileNameListBox,    f.SlideTimeLabel,
               f.ReadTimerComboBox, f.LabelStepLabel,    f.LabelStepComboBox,  f.FontSizeLabel,
               f.FontSizeComboBox,  f.LabelSpaceLabel,   f.LabelSpaceComboBox, f.ContentsListBox};
    ApplyColorPlan(
        PlanFormAllColors(sender, look.FormAllChange, look.BackColor, look.TextFont.Color), t);
}

void TFormAppearancePort::ShowFormAllCheck(bool checked)
{
    Form.Action(QStringLiteral("ReflectFormAll"))->setChecked(checked);
}

void TFormAppearancePort::SelectFontSize(int index)
{
    Form.FontSizeComboBox->setCurrentIndex(index);
}
void TFormAppearancePort::SelectLabelSpace(int index)
{
    Form.LabelSpaceComboBox->setCurrentIndex(index);
}
void TFormAppearancePort::SelectLabelStep(int index)
{
    Form.LabelStepComboBox->setCurrentIndex(index);
}
void TFormAppearancePort::SelectReadTimer(int index)
{
    Form.ReadTimerComboBox->setCurrentIndex(index);
}
void TFormAppearancePort::SetReadInterval(int ms)
{
    Form.Engine->ReadTimerComboBoxChange(ms);
}
void TFormAppearancePort::SetLabelSpacing(int spacing)
{
    Form.ReaderView->SetLabelSpacing(spacing);
}
int TFormAppearancePort::LabelCount() const
{
    return Form.LabelCount();
}
void TFormAppearancePort::RebuildReader()
{
    Form.RebuildReader();
}

void TFormAppearancePort::LinesRenumbered()
{
    Form.ContentsListBox->Clear();
    if (Form.LineCount() > 0)
        Form.FindResearchButton->show();
}

QString TFormAppearancePort::Caption() const
{
    return Form.windowTitle();
}
void TFormAppearancePort::SetCaption(const QString& caption)
{
    Form.setWindowTitle(caption);
}

int TFormAppearancePort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}

bool TFormLayoutPort::IsResizeTimerActive() const
{
    return Form.ResizeTimer->isActive();
}
void TFormLayoutPort::StartResizeTimer()
{
    Form.ResizeTimer->start();
}
void TFormLayoutPort::StopResizeTimer()
{
    Form.ResizeTimer->stop();
}
QSize TFormLayoutPort::WindowSize() const
{
    return Form.size();
}
void TFormLayoutPort::RebuildReader()
{
    Form.RebuildReader();
}
void TFormLayoutPort::RelayoutLabels()
{
    Form.Appearance->RelayoutLabels();
}

int TFormLayoutPort::SideWidth(int side) const
{
    return (side == 0 ? Form.LeftPanel : Form.RightPanel)->width();
}

void TFormLayoutPort::SetSideWidth(int side, int width)
{
    QList<int> sizes = Form.MainSplitter->sizes();
    if (sizes.size() != 3)
        return;
    sizes[1] = qMax(0, sizes[1] + sizes[side] - width);
    sizes[side] = width;
    Form.MainSplitter->setSizes(sizes);
}

QSize TFormLayoutPort::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

void TFormLayoutPort::PlaceWindow(const QRect& bounds)
{
    Form.move(bounds.topLeft());
    Form.resize(bounds.size());
}

bool TFormLayoutPort::IsMaximized() const
{
    return Form.isMaximized();
}

QRect TFormLayoutPort::RestoredBounds() const
{
    const QRect normal = Form.normalGeometry();
    if (Form.isMaximized() && normal.isValid())
        return normal;
    return QRect(Form.x(), Form.y(), Form.width(), Form.height());
}

QSize TFormLayoutPort::PanelSizes() const
{
    return QSize(Form.LeftPanel->width(), Form.DirectoryPanel->height());
}

void TFormLayoutPort::SetPanelSizes(const QSize& sizes)
{
    const int left = sizes.width();
    const int folders = sizes.height();
    Form.MainSplitter->setSizes({left, qMax(10, Form.width() - left - 98), 98});
    Form.LeftColumnSplitter->setSizes({folders, qMax(10, Form.height() - folders)});
}

int TFormLoaderPort::FileCount() const
{
    return Form.FileNameListBox->count();
}
int TFormLoaderPort::SelectedFile() const
{
    return Form.FileNameListBox->currentRow();
}
void TFormLoaderPort::SelectFile(int row)
{
    Form.FileNameListBox->setCurrentRow(row);
}
int TFormLoaderPort::PathCount() const
{
    return Form.FilePathListBox->count();
}
QString TFormLoaderPort::PathAt(int row) const
{
    return Form.FilePathListBox->item(row)->text();
}
void TFormLoaderPort::SetFileHint(const QString& hint)
{
    Form.FileNameListBox->setToolTip(hint);
}
bool TFormLoaderPort::TextEmpty() const
{
    return Form.MainRichEdit->document()->isEmpty();
}
void TFormLoaderPort::LoadText(const QString& text)
{
    Form.MainRichEdit->LoadText(text);
    // A text put in by the program holds no edits of the user's.
    Form.MainRichEdit->document()->setModified(false);
    if (!text.isEmpty())
        Form.RestorePlace();
}
bool TFormLoaderPort::TextModified() const
{
    return Form.MainRichEdit->document()->isModified();
}
bool TFormLoaderPort::SaveText()
{
    return Form.Saver->FileSaveExecute();
}
int TFormLoaderPort::LineCount() const
{
    return Form.LineCount();
}

void TFormLoaderPort::ResetReadingLine()
{
    // The file in view is about to be left.
    Form.RememberPlace();
    Form.State.Slide.ReadingLine = 0;
    Form.ReadingLineScrollBar->setValue(0);
}

void TFormLoaderPort::ClearContents()
{
    Form.ContentsListBox->Clear();
}
void TFormLoaderPort::SetResearchVisible(bool visible)
{
    Form.FindResearchButton->setVisible(visible);
}
void TFormLoaderPort::RebuildReader()
{
    Form.RebuildReader();
}
void TFormLoaderPort::SetCaption(const QString& caption)
{
    Form.setWindowTitle(caption);
}

int TFormLoaderPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}
QString TFormLoaderPort::Text() const
{
    return Form.MainRichEdit->toPlainText();
}
void TFormLoaderPort::SetTextReadOnly(bool readOnly)
{
    Form.MainRichEdit->setReadOnly(readOnly);
}
void TFormLoaderPort::ShowEncoding(std::optional<TSourceEncoding> used, bool detected)
{
    // The menu checks the encoding in view, and "自動" while it was detected.
    Form.Action(QStringLiteral("EncodingAuto"))->setChecked(detected);
    for (const TSourceEncoding encoding : AllSourceEncodings)
        Form.Action(EncodingActionName(encoding))->setChecked(used == encoding);
}
void TFormLoaderPort::ShowAnnotations(const TAozoraDisplay& display)
{
    Form.ReaderView->SetAnnotations(display.IsFormatted() ? &display.FormattedText() : nullptr,
                                    display.Style == TRubyStyle::Above);
}

bool TFormSettingPort::AnyFilter() const
{
    return Form.State.Files.AnyFilter;
}
void TFormSettingPort::SetAnyFilter(bool checked)
{
    Form.State.Files.AnyFilter = checked;
    Form.Action(QStringLiteral("SetAnyFilter"))->setChecked(checked);
}
bool TFormSettingPort::ShowSettingForm(TSettingLists& lists)
{
    return TSettingForm::Execute(lists, &Form);
}
int TFormSettingPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}
bool TFormSettingPort::Set_SaveFilter(QString& FilterList)
{
    return Form.Set_SaveFilter(FilterList);
}
void TFormSettingPort::ApplyFileFilter()
{
    Form.ApplyFileFilter();
}
void TFormSettingPort::BuildSelectedFolderMenu(const QString& Folders)
{
    Form.BuildSelectedFolderMenu(Folders);
}
