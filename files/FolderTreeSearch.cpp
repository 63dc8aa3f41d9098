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
#include <unistd.h>
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

// The name for the name list: the name itself unless it holds bytes that are not UTF-8.
QString ShownName(const QString& name)
{
    for (const QChar c : name) {
        if (c.isLowSurrogate())
            return DisplayFileName(name);
    }
    return name;
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
    AllFiles = FilterText.contains(u'*');
    Extensions = TExtensionBytes(FilterText);
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
    Found.assign(1, TFolderFound{EncodeFileName(StartFolder)});
    MatchNames.clear();
    for (FolderIndex = 0; FolderIndex < Folders.size() && !Stopped; ++FolderIndex)
        ReadFolder(FolderIndex);
    if (!Stopped)
        SortFolders();
}

// One reading of a folder gives both passes what they need: its subfolders for the folder pass
// and its matching names for the file pass. Only the names that match are turned into text.
void TFolderTreeSearch::ReadFolder(int index)
{
    const QString folder = Folders.at(index);
    const QByteArray path = Found[size_t(index)].Path;
    const int fault = OpenFault ? OpenFault(folder) : 0;
    TFolderReader reader(fault ? QByteArray() : path);
    const int openError = fault ? fault : reader.OpenError();
    // A folder that went away since it was seen, or that may not be read, is passed over;
    // the start folder is the one the user asked for, so there it is an error.
    if (openError == EACCES || openError == ENOENT) {
        if (index == 0)
            ListingError(openError, folder, "* 検索エラーです。");
        return;
    }
    const qsizetype first = MatchNames.size();
    while (reader.Next()) {
        const std::string_view name = reader.Name();
        if (reader.IsFolder()) {
            Folders.append(folder + DecodeFileName(name) + u'/');
            QByteArray subfolder;
            subfolder.reserve(path.size() + qsizetype(name.size()) + 1);
            subfolder.append(path).append(name.data(), qsizetype(name.size())).append('/');
            Found.push_back(TFolderFound{subfolder});
        } else if ((AllFiles || Extensions.Listed(name)) && reader.IsFile()) {
            MatchNames.append(DecodeFileName(name));
        }
        if (StopNow())
            break;
    }
    Found[size_t(index)].FirstMatch = first;
    Found[size_t(index)].Matches = MatchNames.size() - first;
    const int error = openError ? openError : reader.Error();
    if (error)
        ListingError(error, folder,
                     index == 0 ? "* 検索エラーです。" : "** 検索エラーです(例外)。");
}

// The folders in sorted order, each keeping the matches it gave. Every sort of the search uses
// the locale's order without regard to letter case. Every folder begins with StartFolder, so
// only what follows it is compared.
void TFolderTreeSearch::SortFolders()
{
    const qsizetype common = StartFolder.size();
    std::vector<int> order(size_t(Folders.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return Collator.compare(QStringView(Folders.at(a)).mid(common),
                                QStringView(Folders.at(b)).mid(common)) < 0;
    });
    QStringList folders;
    std::vector<TFolderFound> found;
    folders.reserve(Folders.size());
    found.reserve(Found.size());
    for (const int i : order) {
        folders.append(Folders.at(i));
        found.push_back(std::move(Found[size_t(i)]));
    }
    Folders = std::move(folders);
    Found = std::move(found);
}

// The folder's matches were read in the folder pass: reading every folder a second time would
// double the cost of the search. A folder that holds matches is looked at once more, so that
// one removed or replaced meanwhile does not put names into the lists that cannot be opened.
bool TFolderTreeSearch::FolderStillThere(int index)
{
    // The path ends in "/", so a file now standing at the folder's place fails with ENOTDIR.
    if (::access(Found[size_t(index)].Path.constData(), F_OK) == 0)
        return true;
    const int error = errno;
    if (error != EACCES && error != ENOENT)
        ListingError(error, Folders.at(index), nullptr);
    return false;
}

void TFolderTreeSearch::AddFolderResults(int index)
{
    const TFolderFound& found = Found[size_t(index)];
    if (found.Matches == 0 || !FolderStillThere(index))
        return;
    const QString& folder = Folders.at(index);
    // The matches are taken in the order they were read, up to a stop; the limit counts only
    // finished folders, as this folder's matches join when it ends.
    const qsizetype before = Results.size();
    qsizetype taken = 0;
    while (taken < found.Matches) {
        if (before >= Limit) {
            Stopped = Limited = true;
            LimitText += u'\'' + DisplayFileName(folder) + QStringLiteral("')");
            break;
        }
        ++taken;
        if (StopNow())
            break;
    }
    // Sorted by name alone: the folder they share would only lengthen every comparison.
    const auto first = MatchNames.begin() + found.FirstMatch;
    std::sort(first, first + taken,
              [this](const QString& a, const QString& b) { return Collator.compare(a, b) < 0; });
    for (auto name = first; name != first + taken; ++name) {
        QString path;
        path.reserve(folder.size() + name->size());
        path.append(folder).append(*name);
        Results.append(std::move(path));
        ResultNames.append(ShownName(*name));
    }
}

void TFolderTreeSearch::FilePass()
{
    Pass = TPass::Files;
    Results.clear();
    ResultNames.clear();
    Results.reserve(MatchNames.size());
    ResultNames.reserve(MatchNames.size());
    const int total = int(Folders.size());
    for (FolderIndex = 0; FolderIndex < total; ++FolderIndex) {
        AddFolderResults(FolderIndex);
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
        transferred = Port.Transfer(Results, ResultNames);
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
