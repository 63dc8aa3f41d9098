#include "platform/AppUtils.h"

#include "common/CentredPosition.h"
#include "platform/DialogService.h"
#include "platform/Fonts.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <stdexcept>

TApU* ApU = nullptr;

namespace {

constexpr int FormWidth = 250;
constexpr int FormHeight = 100;
constexpr int LabelLeft = 4;
constexpr int LabelTop = 6;

QString failureText(const std::exception& e)
{
    return QString::fromLocal8Bit(e.what());
}

void reportError(const QString& text) noexcept
{
    try {
        Dialogs().ErrorReport(text);
    } catch (...) {
        // The error report is the last resort; nothing is left to tell.
    }
}

void hideMessageWindow() noexcept
{
    try {
        if (ApU)
            ApU->hide();
    } catch (...) {
    }
}

// Brings the window up without blocking; showing a hidden window puts it in front. Whether it
// really got the focus does not matter: the text is set either way.
void showMessageWindow() noexcept
{
    try {
        ApU->show();
        ApU->activateWindow();
    } catch (...) {
    }
}

void showInMessageWindow(const QString& Message, const QString& Caption,
                         const QString& boxFailure) noexcept
{
    try {
        if (!ApU)
            throw std::runtime_error("message window not created: " + boxFailure.toStdString());
        ApU->setWindowTitle(Caption + QStringLiteral(" (予定外のエラーです。)"));
        ApU->MessageLabel->setText(Message);
        if (!ApU->IsShown)
            showMessageWindow();
    } catch (const std::exception& e) {
        // The message itself is part of the report, or it would be lost with the window.
        reportError(Message + u'\n' + failureText(e));
        hideMessageWindow();
    } catch (...) {
        reportError(Message);
        hideMessageWindow();
    }
}

} // namespace

int AppMessageBox(const QString& Message, const QString& Caption, int Flags)
{
    int Result = -1;
    try {
        Result = Dialogs().MessageBox(Message, Caption, Flags);
    } catch (const std::exception& e) {
        showInMessageWindow(Message, Caption, failureText(e));
    } catch (...) {
        showInMessageWindow(Message, Caption, QStringLiteral("message box failed"));
    }
    return Result;
}

void CentreDialog(QWidget* Form)
{
    if (!Form)
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->geometry();
    Form->move(desktop.topLeft() + CentredPosition(desktop.size(), Form->size()));
}

bool ClipboardHasText()
{
    try {
        // Without a GUI application there is no clipboard to ask.
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return false;
        const QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
        // hasText() would also count a list of URLs; only real text can be pasted as such.
        return data && data->hasFormat(QStringLiteral("text/plain"));
    } catch (...) {
        return false;
    }
}

TApU::TApU(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("ApU"));
    setWindowTitle(QStringLiteral("ApU"));
    QFont designed = font();
    designed.setFamily(DisplayFamilyFor(QStringLiteral("ＭＳ Ｐゴシック")));
    setFont(designed);

    MessageLabel = new QLabel(this);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    // Messages quote file names and found text: never read them as markup.
    MessageLabel->setTextFormat(Qt::PlainText);
    MessageLabel->setWordWrap(true);
    MessageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MessageLabel->setAutoFillBackground(true);
    MessageLabel->setBackgroundRole(QPalette::ToolTipBase);

    FormCreate();
    // A dialog-style window: the user cannot resize it.
    setMaximumSize(FormWidth, FormHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    ApU = this;
}

TApU::~TApU()
{
    if (ApU == this)
        ApU = nullptr;
}

void TApU::FormCreate()
{
    MessageLabel->clear();
    resize(FormWidth, FormHeight);
    setMinimumSize(FormWidth, FormHeight);
    placeMessageLabel();
    IsShown = false;
}

void TApU::FormShow()
{
    IsShown = true;
}

void TApU::FormHide()
{
    MessageLabel->clear();
    IsShown = false;
}

void TApU::FormCloseQuery(bool& CanClose)
{
    // The window is needed again for the next fallback: closing only hides it.
    CanClose = false;
    hide();
}

void TApU::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Spontaneous events come from the window system (minimising, restoring); only the program
    // showing or hiding the window counts.
    if (!event->spontaneous())
        FormShow();
}

void TApU::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TApU::closeEvent(QCloseEvent* event)
{
    bool CanClose = true;
    FormCloseQuery(CanClose);
    event->setAccepted(CanClose);
}

void TApU::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMessageLabel();
}

void TApU::placeMessageLabel()
{
    MessageLabel->setGeometry(LabelLeft, LabelTop, width() - 2 * LabelLeft,
                              height() - 2 * LabelTop);
}

std::unique_ptr<TApU> CreateApU()
{
    return std::make_unique<TApU>();
}
