// The reader appearance's view of the main window.
#include "app/FormPorts.h"

#include "app/QuorvelaneMain.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "reader/FormAllColors.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>

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
