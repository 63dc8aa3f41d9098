#pragma once

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
    void LoadSelectedFile() override;
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
    bool ContentsLineForward() const override;
    void BeginContentsUpdate() override;
    void EndContentsUpdate() override;
    void ClearContents() override;
    void AddContentsEntry(const QString& entry) override;
    int ContentsCount() const override;
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
