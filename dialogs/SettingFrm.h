#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;
class TSettingLists;

// The base settings dialog: two pages over the working copies in TSettingLists. Every control
// hands its click to the lists and then shows them again; the form keeps no state of its own.
class TSettingForm : public QDialog
{
    Q_OBJECT

public:
    TSettingForm(TSettingLists& lists, QWidget* owner);

    // Creates the form, shows it modally through the dialog service and releases it; true when
    // it closed with OK. A form that cannot be shown counts as cancelled.
    static bool Execute(TSettingLists& lists, QWidget* owner);

    void FormCreate();
    void FilterCheckListBoxClick();
    void AddFilterButtonClick();
    void ChangeFilterButtonClick();
    void DeleteFilterButtonClick();
    void CheckListUpButtonClick();
    void CheckListDownButtonClick();
    void SelectedFolderNameListBoxClick();
    void AddFolderButtonClick();
    void DeleteFolderButtonClick();
    void WindowsFolderButtonClick();
    void ListUpButtonClick();
    void ListDownButtonClick();

    QTabWidget* PageControl = nullptr;
    QWidget* FilterSheet = nullptr;
    QWidget* FolderSheet = nullptr;
    QLabel* FilterLabel = nullptr;
    QCheckBox* AnyFilterCheckBox = nullptr;
    QListWidget* FilterCheckListBox = nullptr;
    QPushButton* AddFilterButton = nullptr;
    QPushButton* DeleteFilterButton = nullptr;
    QPushButton* ChangeFilterButton = nullptr;
    QPushButton* CheckListUpButton = nullptr;
    QPushButton* CheckListDownButton = nullptr;
    QLabel* FolderLabel = nullptr;
    QListWidget* SelectedFolderNameListBox = nullptr;
    QListWidget* SelectedFolderPathListBox = nullptr;
    QPushButton* AddFolderButton = nullptr;
    QPushButton* DeleteFolderButton = nullptr;
    QPushButton* WindowsFolderButton = nullptr;
    QPushButton* ListUpButton = nullptr;
    QPushButton* ListDownButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void BuildFilterSheet();
    void BuildFolderSheet();
    void ConnectControls();
    // Runs an edit of the lists between reading the controls and showing the result.
    void Edit(const std::function<void(TSettingLists&)>& edit);
    void TakeControls();
    void ShowFilters();
    void ShowFolders();

    TSettingLists& Lists;
};
