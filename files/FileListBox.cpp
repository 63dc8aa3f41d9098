#include "files/FolderControls.h"

TFileListBox::TFileListBox(QObject* parent) : QObject(parent) {}

void TFileListBox::SetMask(const QString& mask)
{
    if (mask == MaskText)
        return;
    MaskText = mask;
    Masks = TFileMask(mask);
    Update();
}

void TFileListBox::SetDirectory(const QString& folder)
{
    if (folder == Folder)
        return;
    Folder = folder;
    Update();
}

void TFileListBox::Update()
{
    Stale = true;
    emit Changed();
}

const TFolderListing& TFileListBox::Read() const
{
    if (Stale) {
        Listing = ListFolder(Folder, Masks);
        Stale = false;
    }
    return Listing;
}
