#pragma once

#include <QDialog>
#include <optional>

class QFrame;
class QPushButton;
class TDirectoryListBox;
class TDriveComboBox;

// The folder chooser: a drive box above a folder list, OK and Cancel centred as a pair below.
// It opens at the current folder; the folder open in its list is the result.
class TGetFolderNameForm : public QDialog
{
    Q_OBJECT

public:
    explicit TGetFolderNameForm(QWidget* owner = nullptr);

    void FormCreate();
    void FormResize();

    QFrame* DirectoryPanel = nullptr;
    QFrame* DrivePanel = nullptr;
    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    QFrame* ButtonPanel = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// OK stands at this left in the button panel, Cancel right after it: the pair centred.
constexpr int FolderButtonsLeft(int panelWidth, int buttonWidth)
{
    return (panelWidth - 2 * buttonWidth) / 2;
}

// Creates the chooser owned by owner, shows it modally through the dialog service and releases
// it; the folder open in its list on OK, nullopt on Cancel.
std::optional<QString> GetFolderName(QWidget* owner);
