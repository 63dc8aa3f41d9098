#include "files/FileFilters.h"

#include "common/SplitWX.h"
#include "files/FolderListing.h"
#include "platform/Cp932.h"

#include <QDir>

namespace {

// Blanks and the C0 controls and DEL; a full-width blank is text, not padding.
bool IsPadding(QChar c)
{
    return c.unicode() <= 0x20 || c.unicode() == 0x7F;
}

// Wildcard match over UTF-16 units; "?" takes a whole surrogate pair as one character. The
// last "*" seen is the only backtrack point needed, so this runs in linear-times-stars time.
bool GlobMatch(QStringView mask, QStringView name)
{
    qsizetype m = 0;
    qsizetype n = 0;
    qsizetype starMask = -1;
    qsizetype starName = 0;
    auto charLength = [&](qsizetype at) {
        return (at + 1 < name.size() && name[at].isHighSurrogate() && name[at + 1].isLowSurrogate())
                   ? 2
                   : 1;
    };
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == u'?') {
            ++m;
            n += charLength(n);
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            starName += charLength(starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

} // namespace

QString TrimPadding(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsPadding(text[first]))
        ++first;
    while (last > first && IsPadding(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

void NormalizeFilter(QString& Filter)
{
    const QString text = TrimPadding(Filter);
    QStringList kept;
    if (Cp932Width(text) > 2) {
        TSplitWX splitter;
        const int count = splitter.Split(text, QStringLiteral(";"));
        for (int i = 0; i < count; ++i) {
            const QString& piece = splitter.Pieces[i];
            if (Cp932Width(piece) > 2 && piece.startsWith(QLatin1String("*.")))
                kept.append(piece);
        }
    }
    Filter = kept.isEmpty() ? QStringLiteral("*.txt") : kept.join(u';');
}

QString FileListMask(bool anyFilter, QString& NowFilter)
{
    if (anyFilter)
        return QStringLiteral("*.*");
    NormalizeFilter(NowFilter);
    return NowFilter;
}

TFileMask::TFileMask(const QString& masks) : MaskText(masks)
{
    const QStringList pieces = masks.split(u';', Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        TPattern pattern;
        pattern.Folded = piece.toCaseFolded();
        const QStringView rest = QStringView(piece).mid(1);
        pattern.AnyName = piece == QLatin1String("*") || piece == QLatin1String("*.*");
        pattern.Simple = !pattern.AnyName && piece.startsWith(QLatin1String("*.")) &&
                         piece.size() > 2 && !rest.contains(u'*') && !rest.contains(u'?');
        if (pattern.Simple)
            pattern.Suffix = rest.toString();
        pattern.OrNoExtension = !pattern.AnyName && piece.endsWith(QLatin1String(".*"));
        Patterns.append(pattern);
    }
}

bool TFileMask::Matches(QStringView name) const
{
    QString folded;
    for (const TPattern& pattern : Patterns) {
        if (pattern.AnyName)
            return true;
        if (pattern.Simple) {
            if (name.endsWith(pattern.Suffix, Qt::CaseInsensitive))
                return true;
            continue;
        }
        if (folded.isNull())
            folded = name.toString().toCaseFolded();
        if (GlobMatch(pattern.Folded, folded))
            return true;
        if (pattern.OrNoExtension && GlobMatch(QStringView(pattern.Folded).chopped(2), folded))
            return true;
    }
    return false;
}

QString FolderFilePath(const QString& folder, const QString& name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

TFileListFill FillFileLists(const QStringList& names, const QStringList& paths,
                            bool& FileListRestored, const QString& CurrentFileName)
{
    TFileListFill fill;
    // The pair must stay aligned even if a caller hands lists of different lengths.
    const qsizetype count = qMin(names.size(), paths.size());
    fill.FileNameListBox = names.mid(0, count);
    fill.FilePathListBox = paths.mid(0, count);
    if (count == 0)
        return fill;
    fill.Selected = 0;
    if (FileListRestored)
        return fill;
    FileListRestored = true;
    if (!ListedFileExists(CurrentFileName))
        return fill;
    const qsizetype found = fill.FilePathListBox.indexOf(CurrentFileName);
    if (found >= 0)
        fill.Selected = int(found);
    return fill;
}

QString SelectedFolderCaption(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (QDir(clean).isRoot())
        return folder;
    const QString name = clean.section(u'/', -1);
    return name.isEmpty() ? folder : name;
}

TSelectedFolderList SelectedFolderList(const QString& Folders)
{
    TSelectedFolderList list;
    if (Folders.isEmpty())
        return list;
    TSplitWX splitter;
    const int count = splitter.Split(Folders, QStringLiteral(";"));
    for (int i = 0; i < count; ++i) {
        const QString& piece = splitter.Pieces[i];
        if (!ListedFolderExists(piece))
            continue;
        list.Items.append({SelectedFolderCaption(piece), int(list.SelectedFolders.size())});
        list.SelectedFolders.append(piece);
    }
    return list;
}
