#pragma once

#include <functional>

#include "platform/DialogService.h"

class QWidget;

// The real dialogs. The only place that names Qt's dialog classes or runs a modal loop.
class TQtDialogService final : public TDialogService
{
public:
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

    // The program's own folder chooser form, which lives above this layer; without one the
    // platform's folder dialog answers.
    using TFolderChooser = std::function<std::optional<QString>()>;
    void SetFolderChooser(TFolderChooser chooser) { FolderChooser = std::move(chooser); }

private:
    TFolderChooser FolderChooser;
};
