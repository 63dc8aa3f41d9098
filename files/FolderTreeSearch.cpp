#include "files/FolderTreeSearch.h"

#include "files/ExtensionFilter.h"
#include "files/FolderListing.h"
#include "files/FolderReader.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

const QString Searching = QStringLiteral("検索中");
const QString Transferring = QStringLiteral("転送");

QString LimitTextStart()
{
    return QStringLiteral(
               "検索ファイル数が許容数(%1)を超えてしまいました。\r\n\r\n次回はもう少し下位"
               "のフォルダから検索してください。\r\n(検索中止フォルダ = \r\n ")
        .arg(MaxListEntries);
}

char UpperAsciiByte(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

} // namespace

QString SearchInterruptedText()
{
    return QStringLiteral("検索は中断されました。");
}

QString SearchCountText(qsizetype count)
{
    return QString::number(count) + QStringLiteral("個のファイルを抽出しました。");
}

void TFolderTreeSearch::SetSearch(const QString& Folder, const QString& Mask)
{
    StartFolder = Folder;
    FilterText = SearchFilterText(Mask);
}

TFolderTreeSearch::TFolderTreeSearch(TSearchAllPort& port, std::function<bool()> stopRequested)
    : Port(port), StopRequested(std::move(stopRequested))
{
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
}

// The order of every sort of the search: the locale's, without regard to letter case.
void TFolderTreeSearch::SortNames(QStringList& names) const
{
    if (names.size() < 2)
        return;
    std::sort(names.begin(), names.end(),
              [this](const QString& a, const QString& b) { return Collator.compare(a, b) < 0; });
}

bool TFolderTreeSearch::StopNow()
{
    if (StopRequested())
        Stopped = true;
    return Stopped;
}

void TFolderTreeSearch::ListingError(int error, const QString& folder, const char* status)
{
    if (status)
        Port.SetStatus(QString::fromUtf8(status));
    Port.ErrorReport(DisplayFileName(folder) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::strerror(error)));
    Stopped = true;
}

void TFolderTreeSearch::FolderPass()
{
    Pass = TPass::Folders;
    Folders = {StartFolder};
    for (FolderIndex = 0; FolderIndex < Folders.size() && !Stopped; ++FolderIndex) {
        const QString folder = Folders.at(FolderIndex);
        TFolderReader reader(EncodeFileName(folder));
        // A folder that went away since it was seen, or that may not be read, is passed over;
        // the start folder is the one the user asked for, so there it is an error.
        const int openError = reader.OpenError();
        if (openError == EACCES || openError == ENOENT) {
            if (FolderIndex == 0)
                ListingError(openError, folder, "* 検索エラーです。");
            continue;
        }
        while (reader.Next()) {
            if (reader.IsFolder())
                Folders.append(folder + DecodeFileName(reader.Name()) + u'/');
            if (StopNow())
                break;
        }
        const int error = openError ? openError : reader.Error();
        if (error)
            ListingError(error, folder,
                         FolderIndex == 0 ? "* 検索エラーです。" : "** 検索エラーです(例外)。");
    }
    if (!Stopped)
        SortNames(Folders);
}

bool TFolderTreeSearch::MatchesFilter(const char* name) const
{
    if (AllFiles)
        return true;
    const char* dot = std::strrchr(name, '.');
    if (!dot)
        return false;
    QByteArray extension(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(), UpperAsciiByte);
    return Extensions.contains(extension);
}

void TFolderTreeSearch::ScanFolder(const QString& folder)
{
    QStringList found;
    TFolderReader reader(EncodeFileName(folder));
    const int openError = reader.OpenError();
    if (openError == EACCES || openError == ENOENT)
        return;
    while (reader.Next()) {
        if (MatchesFilter(reader.Name()) && reader.IsFile()) {
            if (Results.size() >= Limit) {
                Stopped = Limited = true;
                LimitText += u'\'' + DisplayFileName(folder) + QStringLiteral("')");
                break;
            }
            found.append(folder + DecodeFileName(reader.Name()));
        }
        if (StopNow())
            break;
    }
    if (const int error = openError ? openError : reader.Error())
        ListingError(error, folder, nullptr);
    SortNames(found);
    Results += found;
}

void TFolderTreeSearch::FilePass()
{
    Pass = TPass::Files;
    Results.clear();
    const int total = int(Folders.size());
    for (FolderIndex = 0; FolderIndex < total; ++FolderIndex) {
        ScanFolder(Folders.at(FolderIndex));
        if (Stopped)
            break;
        const int remaining = total - (FolderIndex + 1);
        if (remaining % 25 == 0)
            Port.SetStatus(QStringLiteral("残り数 = ") + QString::number(remaining));
    }
}

void TFolderTreeSearch::SearchAll()
{
    if (!ListedFolderExists(StartFolder)) {
        Port.Message(QStringLiteral("No Exists"), ErrorCaption());
        return;
    }
    LimitText = LimitTextStart();
    Stopped = Limited = false;
    AllFiles = FilterText.contains(u'*');
    Extensions.clear();
    for (const QString& extension : FilterText.split(u';', Qt::SkipEmptyParts))
        Extensions.append(extension.toUtf8());
    if (!StartFolder.endsWith(u'/'))
        StartFolder += u'/';
    Port.SetStatus(Searching);
    FolderPass();
    if (Stopped) {
        Pass = TPass::Done;
        Port.Message(SearchInterruptedText(), ConfirmCaption());
        return;
    }
    FilePass();
    Finish();
}

void TFolderTreeSearch::Finish()
{
    Pass = TPass::Done;
    bool transferred = false;
    try {
        Port.SetStatus(Transferring);
        QStringList names;
        names.reserve(Results.size());
        for (const QString& path : Results)
            names.append(DisplayFileName(QStringView(path).mid(path.lastIndexOf(u'/') + 1)));
        transferred = Port.Transfer(Results, names);
    } catch (const std::exception&) {
    }
    if (!transferred) {
        Port.Message(QStringLiteral("結果の転送に失敗しました。"), ErrorCaption());
        return;
    }
    if (Limited) {
        Port.Message(LimitText, ErrorCaption());
        return;
    }
    QString text = SearchCountText(Results.size());
    if (StopRequested())
        text = SearchInterruptedText() + QStringLiteral("\r\n\r\n") + text;
    Port.Message(text, ConfirmCaption());
}
