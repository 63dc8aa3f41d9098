#pragma once

#include "common/AppConstants.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;

// Shows Message in a modal box titled Caption with the buttons of Flags (0 OK, 3 Yes/No/Cancel,
// 4 Yes/No, 68 Yes/No with the information icon) and returns the pressed button: 1 OK,
// AnswerCancel, AnswerYes, AnswerNo. When no
// box can be shown the text goes to the message window ApU instead and -1 is returned. Never
// throws.
int AppMessageBox(const QString& Message, const QString& Caption, int Flags);

// Places Form on the primary screen: centred across, a quarter of the free height from the top.
void CentreDialog(QWidget* Form);

// Whether the clipboard offers plain text; false as well when the clipboard cannot be asked.
bool ClipboardHasText();

// The small always-on-top window that shows a message, without blocking, when AppMessageBox
// cannot show its box. It lives for the whole run: closing it only hides it for the next use.
class TApU : public QWidget
{
    Q_OBJECT

public:
    explicit TApU(QWidget* parent = nullptr);
    ~TApU() override;

    QLabel* MessageLabel = nullptr;
    // The window is showing; a fallback while it is only replaces caption and text.
    bool IsShown = false;

    void FormCreate();
    void FormShow();
    void FormHide();
    void FormCloseQuery(bool& CanClose);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeMessageLabel();
};

// The one message window, set while it exists. AppMessageBox works without it, but then a
// failed box can only go to the error report.
extern TApU* ApU;

// Creates the message window; start-up does this right after the main window. The caller keeps
// it until shutdown.
std::unique_ptr<TApU> CreateApU();
