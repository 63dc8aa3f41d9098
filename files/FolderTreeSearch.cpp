#include "files/FolderTreeSearch.h"

#include "common/AppConstants.h"
#include "files/ExtensionFilter.h"
#include "files/FolderListing.h"
#include "files/FolderReader.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <numeric>
#include <sys/stat.h>
#include <vector>

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
    : Limit(MaxListEntries), Port(port), StopRequested(std::move(stopRequested))
{
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
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
    FolderMatches = {QStringList()};
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
        QStringList matches;
        while (reader.Next()) {
            if (reader.IsFolder()) {
                Folders.append(folder + DecodeFileName(reader.Name()) + u'/');
                FolderMatches.append(QStringList());
            } else if (MatchesFilter(reader.Name()) && reader.IsFile()) {
                matches.append(DecodeFileName(reader.Name()));
            }
            if (StopNow())
                break;
        }
        FolderMatches[FolderIndex] = matches;
        const int error = openError ? openError : reader.Error();
        if (error)
            ListingError(error, folder,
                         FolderIndex == 0 ? "* 検索エラーです。" : "** 検索エラーです(例外)。");
    }
    if (!Stopped)
        SortFolders();
}

// The folders in sorted order, each keeping the matches it gave. Every sort of the search uses
// the locale's order without regard to letter case.
void TFolderTreeSearch::SortFolders()
{
    std::vector<int> order(size_t(Folders.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [this](int a, int b) { return Collator.compare(Folders.at(a), Folders.at(b)) < 0; });
    QStringList folders;
    QList<QStringList> matches;
    folders.reserve(Folders.size());
    matches.reserve(Folders.size());
    for (const int i : order) {
        folders.append(Folders.at(i));
        matches.append(FolderMatches.at(i));
    }
    Folders = folders;
    FolderMatches = matches;
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

// The folder's matches were read in the folder pass: reading every folder a second time would
// double the cost of the search. The folder is looked at once more, so that one removed or
// replaced meanwhile does not put names into the lists that cannot be opened.
void TFolderTreeSearch::ScanFolder(int index)
{
    const QString& folder = Folders.at(index);
    struct stat st;
    int error = ::stat(EncodeFileName(folder).constData(), &st) == 0 ? 0 : errno;
    if (error == EACCES || error == ENOENT)
        return;
    if (!error && !S_ISDIR(st.st_mode))
        error = ENOTDIR;
    if (error) {
        ListingError(error, folder, nullptr);
        return;
    }
    // The limit counts only finished folders: this folder's matches join when it ends.
    const qsizetype before = Results.size();
    for (const QString& name : std::as_const(FolderMatches.at(index))) {
        if (before >= Limit) {
            Stopped = Limited = true;
            LimitText += u'\'' + DisplayFileName(folder) + QStringLiteral("')");
            break;
        }
        Results.append(name);
        if (StopNow())
            break;
    }
    // Sorted by name alone: the folder they share would only lengthen every comparison.
    const auto first = Results.begin() + before;
    std::sort(first, Results.end(),
              [this](const QString& a, const QString& b) { return Collator.compare(a, b) < 0; });
    for (auto name = first; name != Results.end(); ++name)
        name->prepend(folder);
}

void TFolderTreeSearch::FilePass()
{
    Pass = TPass::Files;
    Results.clear();
    const int total = int(Folders.size());
    for (FolderIndex = 0; FolderIndex < total; ++FolderIndex) {
        ScanFolder(FolderIndex);
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
