#include "files/FileDrops.h"

#include "common/AppConstants.h"
#include "files/ExtensionFilter.h"
#include "files/FolderListing.h"

#include <algorithm>
#include <exception>

void TFileDrops::DropFiles(const QStringList& Names)
{
    if (Names.isEmpty())
        return;
    const QString filter = DropExtensionFilter(Port.FileListMask());
    QStringList files;
    QStringList folders;
    for (const QString& name : Names) {
        try {
            // Only what can be opened joins the lists: a name that is gone, a device or a pipe
            // is left out like a name that does not exist.
            if (ListedFolderExists(name))
                folders.append(name);
            else if (ListedFileExists(name) && PassesExtensionFilter(name, filter))
                files.append(name);
        } catch (const std::exception&) {
        }
    }
    if (!folders.isEmpty()) {
        try {
            QStringList folderFiles;
            SetDropDirectory(folders, filter, folderFiles);
            files += folderFiles;
        } catch (const std::exception&) {
            Port.Message(QStringLiteral("DropFiles Error"), ErrorCaption());
        }
    }
    if (!files.isEmpty())
        AddDroppedFiles(files);
}

void TFileDrops::SetDropDirectory(QStringList& Folders, const QString& Filter, QStringList& Out)
{
    Out.clear();
    if (Folders.isEmpty())
        return;
    // The folder list reads the first folder anyway; its reading serves for the files too.
    TFolderEntries firstFolder;
    try {
        std::sort(Folders.begin(), Folders.end(), FileNameLess);
        DropInProgress = true;
        try {
            Port.MoveFolderList(Folders.first(), firstFolder);
        } catch (...) {
            DropInProgress = false;
            throw;
        }
        DropInProgress = false;
    } catch (const std::exception&) {
        Port.Message(QStringLiteral("SetDropDirectory Error"), ErrorCaption());
        return;
    }
    try {
        QStringList collected;
        CollectFolderFiles(Folders, Filter, collected, &firstFolder);
        Out = collected;
    } catch (const std::exception&) {
        Out.clear();
        Port.Message(QStringLiteral("SetDropDirectory Error"), ErrorCaption());
    }
}

void TFileDrops::CollectFolderFiles(QStringList& Folders, const QString& Filter, QStringList& Out,
                                    TFolderEntries* firstFolder)
{
    Out.clear();
    const TExtensionBytes extensions(Filter);
    for (QString& folder : Folders) {
        if (!folder.endsWith(u'/'))
            folder += u'/';
        const bool readAlready =
            firstFolder && firstFolder->Readable && &folder == &Folders.first();
        const TFolderEntries reading =
            readAlready ? std::move(*firstFolder) : ReadFolderEntries(folder);
        QStringList names;
        for (const TFolderEntries::TEntry& entry : reading.Entries) {
            const std::string_view name = reading.Name(entry);
            if (entry.Kind != TFolderEntries::File || name.find('.') == std::string_view::npos ||
                (!Filter.isEmpty() && !extensions.Listed(name)))
                continue;
            names.append(DecodeFileName(name));
        }
        // Sorted by name alone: the folder they share would only lengthen every comparison.
        std::sort(names.begin(), names.end(), FileNameLess);
        Out.reserve(Out.size() + names.size());
        for (const QString& name : std::as_const(names))
            Out.append(folder + name);
    }
}

void TFileDrops::AddDroppedFiles(const QStringList& Files)
{
    const int first = Port.FileListCount();
    QStringList names;
    QStringList paths;
    names.reserve(Files.size());
    paths.reserve(Files.size());
    for (const QString& path : Files) {
        const QString name = DisplayFileName(QStringView(path).mid(path.lastIndexOf(u'/') + 1));
        if (name.isEmpty())
            continue;
        names.append(name);
        paths.append(path);
    }
    if (paths.isEmpty())
        return;
    Port.AppendFileListEntries(names, paths);
    Port.LoadFileListEntry(first);
}
