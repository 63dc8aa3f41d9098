#pragma once

#include "platform/DialogService.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

// A dialog service for tests. Dialogs that can only be confirmed (an OK message box, the plain
// message, the error report) are answered at once; every question takes the next scripted
// answer, which must be of its kind. A question with no fitting answer is an unexpected dialog:
// it fails the running test, is logged, and is answered as cancelled, so nothing blocks.
class TScriptedDialogs final : public TDialogService
{
public:
    enum class Kind
    {
        MessageBox,
        PlainMessage,
        InputBox,
        Font,
        Color,
        SaveFile,
        Folder,
        ModalForm,
        ErrorReport
    };

    struct Entry
    {
        Kind DialogKind;
        QString Caption;
        QString Text;
        int Flags = 0;
    };

    // Answers in the order the questions come.
    TScriptedDialogs& AnswerButton(int button);
    TScriptedDialogs& AnswerInput(std::optional<QString> text);
    TScriptedDialogs& AnswerFont(std::optional<TFontSpec> font);
    TScriptedDialogs& AnswerColor(std::optional<qint32> color);
    TScriptedDialogs& AnswerSave(std::optional<SaveAnswer> answer);
    TScriptedDialogs& AnswerFolder(std::optional<QString> folder);
    TScriptedDialogs& AnswerForm(std::function<int(QObject*)> run);
    // Makes every message box raise, as when no box can be shown.
    void SetUnavailable(bool unavailable) { Unavailable = unavailable; }

    const QList<Entry>& Log() const { return Entries; }
    // "kind|caption|text" of each logged dialog, for compact assertions.
    QStringList LogLines() const;
    QStringList Unexpected() const { return UnexpectedDialogs; }
    int PendingAnswers() const { return int(Answers.size()); }
    void ClearLog() { Entries.clear(); }

    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void PlainMessage(const QString& text) override;
    std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                    const QString& preset) override;
    std::optional<TFontSpec> ChooseFont(const TFontSpec& initial) override;
    std::optional<qint32> ChooseColor(qint32 initialColor) override;
    std::optional<SaveAnswer> SaveFile(const QString& caption, const QString& folder,
                                       const QString& name, const QStringList& filters,
                                       int filterIndex) override;
    std::optional<QString> ChooseFolder(const QString& caption, const QString& start) override;
    int ShowModalForm(QObject* form) override;
    void ErrorReport(const QString& text) override;

private:
    struct Answer
    {
        Kind DialogKind;
        QVariant Value;
        std::function<int(QObject*)> Form;
    };
    std::optional<Answer> take(Kind kind, const Entry& entry);

    QList<Answer> Answers;
    QList<Entry> Entries;
    QStringList UnexpectedDialogs;
    bool Unavailable = false;
};

QString KindName(TScriptedDialogs::Kind kind);

// Installs a scripted service for the scope of a test and puts the previous one back.
class TScopedDialogs
{
public:
    TScopedDialogs();
    ~TScopedDialogs();
    TScopedDialogs(const TScopedDialogs&) = delete;
    TScopedDialogs& operator=(const TScopedDialogs&) = delete;

    TScriptedDialogs& operator*() { return *Service; }
    TScriptedDialogs* operator->() { return Service; }

private:
    TScriptedDialogs* Service;
    std::unique_ptr<TDialogService> Previous;
};
