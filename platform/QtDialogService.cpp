#include "platform/QtDialogService.h"

#include "platform/Colors.h"
#include "platform/Fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int FlagsYesNoCancel = 3;
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

// The sixteen basic colours a font's colour is chosen from, as TColor values (red in the low
// byte).
const std::pair<const char*, qint32> BasicColors[] = {
    {"黒", 0x000000},   {"栗色", 0x000080}, {"緑", 0x008000},     {"オリーブ", 0x008080},
    {"紺", 0x800000},   {"紫", 0x800080},   {"青緑", 0x808000},   {"灰色", 0x808080},
    {"銀色", 0xC0C0C0}, {"赤", 0x0000FF},   {"ライム", 0x00FF00}, {"黄", 0x00FFFF},
    {"青", 0xFF0000},   {"赤紫", 0xFF00FF}, {"水色", 0xFFFF00},   {"白", 0xFFFFFF},
};

// The font dialog: face, size and style bits from Qt's font dialog, which has no colour, and the
// font's colour from a list of the basic colours. The colour the font had is offered too, so
// that confirming keeps it.
class TFontDialog final : public QDialog
{
public:
    explicit TFontDialog(const TFontSpec& initial) : QDialog(dialogParent()), Initial(initial)
    {
        setObjectName(QStringLiteral("FontDialog"));
        setWindowTitle(QStringLiteral("フォント"));
        // Qt's font dialog as a part of this one, without buttons or a frame of its own.
        Fonts = new QFontDialog(FontFromSpec(initial), this);
        Fonts->setWindowFlags(Qt::Widget);
        Fonts->setOption(QFontDialog::NoButtons);
        Fonts->setOption(QFontDialog::DontUseNativeDialog);
        Fonts->setSizeGripEnabled(false);

        Colors = new QComboBox(this);
        Colors->setObjectName(QStringLiteral("FontColorComboBox"));
        for (const auto& [name, color] : BasicColors)
            AddColor(QString::fromUtf8(name), color);
        if (Colors->findData(initial.Color) < 0)
            AddColor(QStringLiteral("現在の色"), initial.Color);
        Colors->setCurrentIndex(Colors->findData(initial.Color));
        auto* colorLabel = new QLabel(QStringLiteral("色(&C):"), this);
        colorLabel->setBuddy(Colors);
        auto* colorRow = new QFormLayout;
        colorRow->addRow(colorLabel, Colors);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(Fonts);
        layout->addLayout(colorRow);
        layout->addWidget(buttons);
    }

    // The stored face name is kept when the face was not changed.
    TFontSpec Spec() const
    {
        return SpecFromFont(Fonts->currentFont(), Colors->currentData().toInt(), Initial.Name);
    }

private:
    void AddColor(const QString& name, qint32 color)
    {
        QPixmap swatch(16, 16);
        swatch.fill(ColorFromTColor(color));
        Colors->addItem(QIcon(swatch), name, color);
    }

    TFontSpec Initial;
    QFontDialog* Fonts = nullptr;
    QComboBox* Colors = nullptr;
};

} // namespace

int TQtDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    requireDisplay();
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon((flags & FlagInformationIcon) ? QMessageBox::Information : QMessageBox::NoIcon);
    if ((flags & 0x0F) == FlagsYesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int pressed = box.exec();
        return pressed == QMessageBox::Yes ? 6 : pressed == QMessageBox::No ? 7 : 2;
    }
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
    TFontDialog dialog(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Spec();
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

std::optional<TDialogService::SaveAnswer>
TQtDialogService::SaveFile(const QString& caption, const QString& folder, const QString& name,
                           const QStringList& filters, int filterIndex)
{
    requireDisplay();
    QFileDialog dialog(dialogParent(), caption, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(FileDialogOptions);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks its own question
    // The entries show their descriptions only; the masks in brackets are for the listing.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    dialog.selectFile(name);
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
    if (FolderChooser)
        return FolderChooser();
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
