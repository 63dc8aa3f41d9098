#pragma once

#include <QObject>
#include <QString>
#include <functional>

class TStringListBox;
class QMenu;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
struct TFileState;

// The left column's controls the file list works with.
struct TFileListControls
{
    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    TStringListBox* FileNameListBox = nullptr;
    TStringListBox* FilePathListBox = nullptr;
    QMenu* SelectedFolderMenu = nullptr;
};

// The file list: the folder controls, the hidden listing copied into the two visible lists,
// the filter and the selected-folder menu. The state is the form's, lent here.
class TFileList
{
public:
    // loadSelected loads the entry the list selects; folderClicked handles a click on an item
    // of the selected-folder menu.
    TFileList(const TFileListControls& controls, TFileState& files,
              std::function<void()> loadSelected, std::function<void(QObject*)> folderClicked);

    // The start folder, before the settings are read.
    void StartIn(const QString& folder);
    // After the settings are read: the saved folder (a folder that is gone is skipped), the
    // filter and the selected-folder menu.
    void ApplySaved();
    // The open folder into the state, for the write pass.
    void CaptureFolder();

    void FileListBox1Change(QObject* Sender);
    void ApplyFileFilter();
    void SetAnyFilterExecute();
    void BuildSelectedFolderMenu(const QString& Folders);
    void SelectedFolderClick(QObject* Sender);

private:
    TFileListControls Controls;
    TFileState& Files;
    std::function<void()> LoadSelected;
    std::function<void(QObject*)> FolderClicked;
};
