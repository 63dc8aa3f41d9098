#pragma once

#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "files/TextLoader.h"
#include "reader/ReaderAppearance.h"
#include "reader/SlideEngine.h"
#include "search/SearchFlow.h"

#include <QElapsedTimer>
#include <QFont>
#include <QMetaObject>

class TQuorvelaneForm;

// The slide engine's view of the main window.
class TFormReaderPort final : public TReaderPort
{
public:
    explicit TFormReaderPort(TQuorvelaneForm& form) : Form(form) {}

    int LineCount() const override;
    QString Line(int i) const override;
    bool StartsParagraph(int i) const override;
    bool IsContentsHeading(int i) const override;
    int LabelCount() const override;
    void SetLabelText(int i, const QString& text) override;
    void SetCaption(const QString& text) override;
    bool IsTimerRunning() const override;
    void StartTimer() override;
    void StopTimer() override;
    void SetTimerInterval(int ms) override;
    int TimerInterval() const override;
    int TimerTag() const override;
    void SetTimerTag(int tag) override;
    void SetScrollPosition(int position) override;
    int ScrollPosition() const override;
    int ScrollLargeChange() const override;
    void ChecksChanged() override;
    int FileListCount() const override;
    int FileListSelectedIndex() const override;
    void SelectFileListEntry(int i) override;
    bool LoadSelectedFile() override;
    void FileListBox1Change() override;
    void LabelStepComboBoxChange() override;
    bool IsOnePageStepSelected() const override;
    void SelectIntervalItem(int i) override;
    void FoldOrOpenLeftPanel() override;
    void FoldOrOpenRightPanel() override;

private:
    TQuorvelaneForm& Form;
};

// The search flow's view of the main window.
class TFormSearchPort final : public TSearchPort
{
public:
    explicit TFormSearchPort(TQuorvelaneForm& form);
    ~TFormSearchPort() override;
    TFormSearchPort(const TFormSearchPort&) = delete;
    TFormSearchPort& operator=(const TFormSearchPort&) = delete;

    const TLineSource& Lines() const override;
    void BeginContentsUpdate() override;
    void EndContentsUpdate() override;
    void ClearContents() override;
    void AddContentsEntry(const QString& entry) override;
    int ContentsCount() const override;
    int ContentsCurrentRow() const override;
    QString ContentsEntry(int row) const override;
    void SetContentsHint(const QString& hint) override;
    QStringList ContentsEntries() override;
    void SetContentsEntries(const QStringList& entries) override;
    void ShowContentsLineForward(bool checked) override;
    void ShowLine(int line) override;
    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    bool ResearchButtonVisible() const override;
    void SetResearchButtonVisible(bool visible) override;
    void SetResearchCaption(const QString& caption) override;
    bool ProcessEvents() override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void MarkLines() override;
    bool LinesChanged() const override;
    void LinesRenumbered() override;
    void CloseWindow() override;

private:
    // What the text view's display lines follow.
    struct TLinesMark
    {
        quint64 TextChanges = 0;
        QFont Font;
        qreal WrapWidth = 0;
        bool operator==(const TLinesMark&) const = default;
    };
    TLinesMark CurrentLines() const;

    TQuorvelaneForm& Form;
    // In nanoseconds.
    static constexpr qint64 PumpInterval = 10'000'000;
    static constexpr int EveryTurnFor = 3;
    QElapsedTimer LastPump;
    int Turns = 0;
    quint64 TextChanges = 0;
    QMetaObject::Connection TextChangesCounter;
    TLinesMark Marked;
};

// The reader appearance's view of the main window.
class TFormAppearancePort final : public TAppearancePort
{
public:
    explicit TFormAppearancePort(TQuorvelaneForm& form) : Form(form) {}

    void ShowTextFont(const TFontSpec& font) override;
    void ShowBackColor(qint32 color) override;
    void ShowFormAllColors(TColorSender sender, const TReaderLook& look) override;
    void ShowFormAllCheck(bool checked) override;
    void SelectFontSize(int index) override;
    void SelectLabelSpace(int index) override;
    void SelectLabelStep(int index) override;
    void SelectReadTimer(int index) override;
    void SetReadInterval(int ms) override;
    void SetLabelSpacing(int spacing) override;
    int LabelCount() const override;
    void RebuildReader() override;
    void LinesRenumbered() override;
    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;

private:
    TQuorvelaneForm& Form;
};

// The window layout's view of the main window.
class TFormLayoutPort final : public TLayoutPort
{
public:
    explicit TFormLayoutPort(TQuorvelaneForm& form) : Form(form) {}

    bool IsResizeTimerActive() const override;
    void StartResizeTimer() override;
    void StopResizeTimer() override;
    QSize WindowSize() const override;
    void RebuildReader() override;
    void RelayoutLabels() override;
    int SideWidth(int side) const override;
    void SetSideWidth(int side, int width) override;
    QSize ScreenSize() const override;
    void PlaceWindow(const QRect& bounds) override;
    bool IsMaximized() const override;
    QRect RestoredBounds() const override;
    QSize PanelSizes() const override;
    void SetPanelSizes(const QSize& sizes) override;

private:
    TQuorvelaneForm& Form;
};

// The text loader's view of the main window.
class TFormLoaderPort final : public TLoaderPort
{
public:
    explicit TFormLoaderPort(TQuorvelaneForm& form) : Form(form) {}

    int FileCount() const override;
    int SelectedFile() const override;
    void SelectFile(int row) override;
    int PathCount() const override;
    QString PathAt(int row) const override;
    void SetFileHint(const QString& hint) override;
    bool TextEmpty() const override;
    void LoadText(const QString& text) override;
    int LineCount() const override;
    void ResetReadingLine() override;
    void ClearContents() override;
    void SetResearchVisible(bool visible) override;
    void RebuildReader() override;
    void SetCaption(const QString& caption) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    QString Text() const override;
    void SetTextReadOnly(bool readOnly) override;
    void ShowEncoding(std::optional<TSourceEncoding> used, bool detected) override;
    void ShowAnnotations(const TAozoraDisplay& display) override;
    bool TextModified() const override;
    bool SaveText() override;

private:
    TQuorvelaneForm& Form;
};

// The base settings command's view of the main window.
class TFormSettingPort final : public TBaseSettingPort
{
public:
    explicit TFormSettingPort(TQuorvelaneForm& form) : Form(form) {}

    bool AnyFilter() const override;
    void SetAnyFilter(bool checked) override;
    bool ShowSettingForm(TSettingLists& lists) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    bool Set_SaveFilter(QString& FilterList) override;
    void ApplyFileFilter() override;
    void BuildSelectedFolderMenu(const QString& Folders) override;

private:
    TQuorvelaneForm& Form;
};
