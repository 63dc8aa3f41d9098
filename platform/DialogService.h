#pragma once

#include "platform/FontFace.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>

class QObject;

// Raised by a service that cannot show a dialog (no display, or no service installed yet).
class TDialogUnavailable : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Every modal dialog of the program goes through the one installed service. Only its Qt
// implementation shows real dialogs; tests install a scripted one that answers in order and
// logs every question.
class TDialogService
{
public:
    virtual ~TDialogService() = default;

    // Message box with the style flags 0 (OK), 3 (Yes/No/Cancel), 4 (Yes/No) or 68 (Yes/No,
    // information icon). Returns the pressed button: 1 OK, 2 Cancel, 6 Yes, 7 No. Throws when the
    // box cannot be shown.
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // The plain OK message with the application title as caption.
    virtual void PlainMessage(const QString& text) = 0;
    // Input box: returns the edited text, or nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                            const QString& preset) = 0;
    virtual std::optional<TFontSpec> ChooseFont(const TFontSpec& initial) = 0;
    virtual std::optional<qint32> ChooseColor(qint32 initialColor) = 0;
    // Save-file dialog with a proposed name (without a folder) in an initial folder (empty: the
    // dialog's own choice). Filters are "description (*.ext)" entries, filterIndex the 0-based
    // entry to select; returns the chosen path and the 0-based index of the chosen entry (-1
    // when unknown). The caller asks about overwriting; the dialog must not.
    struct SaveAnswer
    {
        QString Path;
        int FilterIndex = 0;
    };
    virtual std::optional<SaveAnswer> SaveFile(const QString& caption, const QString& folder,
                                               const QString& name, const QStringList& filters,
                                               int filterIndex) = 0;
    virtual std::optional<QString> ChooseFolder(const QString& caption, const QString& start) = 0;
    // Runs a modal form (a QDialog) and returns its result code.
    virtual int ShowModalForm(QObject* form) = 0;
    // The application's standard error report.
    virtual void ErrorReport(const QString& text) = 0;
};

// The installed service. Before one is installed a service that refuses every dialog is used,
// so a message box raises and the caller takes its fallback.
TDialogService& Dialogs();
// Installs a service and returns the previous one.
std::unique_ptr<TDialogService> InstallDialogService(std::unique_ptr<TDialogService> service);
