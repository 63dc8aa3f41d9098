#include "dialogs/FileDialogs.h"

#include "common/AppConstants.h"
#include "common/SplitWX.h"
#include "platform/DialogService.h"

#include <QFileInfo>

TFileDialogsForm* FileDialogsForm = nullptr;

namespace {

const QString AllFilesEntry = QStringLiteral("すべてのファイル(*.*)|*.*");

// The information icon with Yes and No.
constexpr int FlagsYesNoInformation = 68;

} // namespace

TFileDialogsForm::TFileDialogsForm(TAsk ask, QObject* parent) : QObject(parent), Ask(std::move(ask))
{
    setObjectName(QStringLiteral("FileDialogsForm"));
    FileDialogsForm = this;
}

TFileDialogsForm::~TFileDialogsForm()
{
    if (FileDialogsForm == this)
        FileDialogsForm = nullptr;
}

void TFileDialogsForm::FallBackFilter(QString& FilterList, const QString& description)
{
    FilterList = QStringLiteral("*.txt");
    SaveDialog1.Filter = description + QStringLiteral("|*.txt|") + AllFilesEntry;
    AllFilesIndex = 2;
}

bool TFileDialogsForm::SetSaveDialogFilter(QString& FilterList)
{
    if (FilterList.isEmpty()) {
        FallBackFilter(FilterList, QStringLiteral("(*.txt)"));
        return false;
    }
    TSplitWX split;
    const int pieces = split.Split(FilterList, QStringLiteral("/"));
    // An empty piece ("/" at an end, or two in a row) is no item: it would be an entry without
    // a pattern, which no dialog can show.
    QStringList items;
    for (int j = 0; j < pieces && j < split.Pieces.size(); ++j)
        if (!split.Pieces.at(j).isEmpty())
            items << split.Pieces.at(j);
    if (items.isEmpty()) {
        FallBackFilter(FilterList, QStringLiteral("*.txt"));
        return false;
    }
    const int n = int(items.size());
    QStringList extensions;
    QStringList entries;
    for (const QString& item : items) {
        const qsizetype semicolon = item.indexOf(u';');
        extensions << (semicolon >= 0 ? item.mid(1, semicolon - 1) : item.mid(1));
        entries << item + u'|' + item;
    }
    AllFilesIndex = n + 1;
    DefaultExtensions = extensions;
    SaveDialog1.Filter = entries.join(u'|') + u'|' + AllFilesEntry;
    return true;
}

bool TFileDialogsForm::ExecuteSaveDialog(QString& FileName, const QString& InitialFolder)
{
    SaveDialog1.FileName = FileName;
    if (!InitialFolder.isEmpty() && QFileInfo(InitialFolder).isDir())
        SaveDialog1.InitialDir = InitialFolder;
    std::optional<TDialogService::SaveAnswer> answer;
    try {
        answer = Dialogs().SaveFile(QString(), SaveDialog1.InitialDir, SaveDialog1.FileName,
                                    SaveDialogNameFilters(SaveDialog1.Filter),
                                    SaveDialog1.FilterIndex - 1);
    } catch (const TDialogUnavailable& e) {
        Dialogs().ErrorReport(QString::fromLocal8Bit(e.what()));
        return false;
    }
    if (!answer || answer->Path.isEmpty())
        return false;
    if (answer->FilterIndex >= 0)
        SaveDialog1.FilterIndex = answer->FilterIndex + 1;
    const QString chosen = WithDefaultExtension(answer->Path, SaveDialog1.FilterIndex,
                                                AllFilesIndex, DefaultExtensions);
    // A folder of that name is no file to overwrite: writing to it fails and says so.
    const QFileInfo target(chosen);
    if (target.exists() && !target.isDir()) {
        const QString question = target.fileName() + QStringLiteral(" は既に存在します。") +
                                 QStringLiteral("\r\n\r\n") +
                                 QStringLiteral("上書きしてもよいですか?");
        if (Ask(question, ConfirmCaption(), FlagsYesNoInformation) == AnswerNo)
            return false;
    }
    FileName = chosen;
    SaveDialog1.FileName = chosen;
    return true;
}

bool SetSaveFilterReporting(QString& FilterList)
{
    if (!FileDialogsForm)
        return false;
    if (FileDialogsForm->SetSaveDialogFilter(FilterList))
        return true;
    FileDialogsForm->Ask(QStringLiteral("Set_SaveFilter Error"), ErrorCaption(), 0);
    return false;
}

std::unique_ptr<TFileDialogsForm> CreateFileDialogsForm(TFileDialogsForm::TAsk ask)
{
    return std::make_unique<TFileDialogsForm>(std::move(ask));
}

QStringList SaveDialogNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& mask : masks)
            if (mask == QStringLiteral("*.*"))
                mask = QStringLiteral("*");
        entries << parts.at(i) + QStringLiteral(" (") + masks.join(u' ') + u')';
    }
    return entries;
}

QString WithDefaultExtension(const QString& name, int filterIndex, int allFilesIndex,
                             const QStringList& defaultExtensions)
{
    if (filterIndex < 1 || filterIndex >= allFilesIndex || filterIndex > defaultExtensions.size())
        return name;
    if (QFileInfo(name).fileName().contains(u'.'))
        return name;
    return name + defaultExtensions.at(filterIndex - 1);
}
