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
    if (folder == Listing.Folder)
        return;
    Listing.Folder = folder;
    Update();
}

void TFileListBox::Update()
{
    Listing = ListFolder(Listing.Folder, Masks);
    emit Changed();
}
