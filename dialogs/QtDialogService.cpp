#include "dialogs/QtDialogService.h"

#include "platform/Colors.h"
#include "platform/Fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

constexpr int FlagsYesNo = 4;
constexpr int FlagInformationIcon = 64;

// A desktop's own dialogs (a GTK theme's, say) speak the desktop's language; Qt's own speak
// Japanese with the rest of the program, so the file, font and colour dialogs are always Qt's.
constexpr auto FileDialogOptions = QFileDialog::DontUseNativeDialog;

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

void requireDisplay()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw TDialogUnavailable("no widget application");
}

} // namespace

int TQtDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    requireDisplay();
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon((flags & FlagInformationIcon) ? QMessageBox::Information : QMessageBox::NoIcon);
    if ((flags & 0x0F) == FlagsYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? 6 : 7;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 1;
}

void TQtDialogService::PlainMessage(const QString& text)
{
    requireDisplay();
    QMessageBox box(dialogParent());
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::optional<QString> TQtDialogService::InputBox(const QString& caption, const QString& prompt,
                                                  const QString& preset)
{
    requireDisplay();
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<TFontSpec> TQtDialogService::ChooseFont(const TFontSpec& initial)
{
    requireDisplay();
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, FontFromSpec(initial), dialogParent(), QString(),
                                            QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return SpecFromFont(font, initial.Color, initial.Name);
}

std::optional<qint32> TQtDialogService::ChooseColor(qint32 initialColor)
{
    requireDisplay();
    const QColor color = QColorDialog::getColor(ColorFromTColor(initialColor), dialogParent(),
                                                QString(), QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    return TColorFromColor(color);
}

std::optional<TDialogService::SaveAnswer> TQtDialogService::SaveFile(const QString& caption,
                                                                     const QString& folder,
                                                                     const QStringList& filters,
                                                                     int filterIndex)
{
    requireDisplay();
    QFileDialog dialog(dialogParent(), caption, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(FileDialogOptions);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks its own question
    dialog.setNameFilters(filters);
    if (filterIndex >= 0 && filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(filterIndex));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveAnswer{dialog.selectedFiles().constFirst(),
                      int(filters.indexOf(dialog.selectedNameFilter()))};
}

std::optional<QString> TQtDialogService::ChooseFolder(const QString& caption, const QString& start)
{
    requireDisplay();
    const QString folder = QFileDialog::getExistingDirectory(
        dialogParent(), caption, start, QFileDialog::ShowDirsOnly | FileDialogOptions);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

int TQtDialogService::ShowModalForm(QObject* form)
{
    requireDisplay();
    auto* dialog = qobject_cast<QDialog*>(form);
    if (!dialog)
        throw TDialogUnavailable("not a dialog");
    return dialog->exec();
}

void TQtDialogService::ErrorReport(const QString& text)
{
    qWarning("%s", qUtf8Printable(text));
    try {
        MessageBox(text, QApplication::applicationName(), 0);
    } catch (const TDialogUnavailable&) {
    }
}
