#include "dialogs/SettingFrm.h"

#include "dialogs/SettingLists.h"
#include "platform/AppUtils.h"
#include "platform/DialogService.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// The list's rows become the texts; existing rows are rewritten in place, so a list whose row
// is being clicked keeps that row alive.
void showTexts(QListWidget* list, const QStringList& texts)
{
    while (list->count() > texts.size())
        delete list->takeItem(list->count() - 1);
    for (int i = 0; i < texts.size(); ++i) {
        if (i < list->count())
            list->item(i)->setText(texts.at(i));
        else
            list->addItem(texts.at(i));
    }
}

void showCurrent(QListWidget* list, int row)
{
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
    else
        list->setCurrentRow(-1);
}

QVBoxLayout* buttonColumn(std::initializer_list<QPushButton*> buttons)
{
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons)
        column->addWidget(button);
    column->addStretch();
    return column;
}

} // namespace

TSettingForm::TSettingForm(TSettingLists& lists, QWidget* owner) : QDialog(owner), Lists(lists)
{
    setObjectName(QStringLiteral("SettingForm"));
    setWindowTitle(QStringLiteral("SettingForm"));
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    BuildFilterSheet();
    BuildFolderSheet();
    OKButton = makeButton(this, "OKButton", QStringLiteral("OK(&O)"));
    CancelButton = makeButton(this, "CancelButton", QStringLiteral("Cancel(&C)"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    resize(310, 310);
    ConnectControls();
    FormCreate();
}

void TSettingForm::BuildFilterSheet()
{
    FilterSheet = new QWidget(PageControl);
    FilterSheet->setObjectName(QStringLiteral("FilterSheet"));
    FilterLabel = new QLabel(QStringLiteral("フィルタの設定"), FilterSheet);
    FilterLabel->setObjectName(QStringLiteral("FilterLabel"));
    AnyFilterCheckBox = new QCheckBox(QStringLiteral("*.*"), FilterSheet);
    AnyFilterCheckBox->setObjectName(QStringLiteral("AnyFilterCheckBox"));
    FilterCheckListBox = makeList(FilterSheet, "FilterCheckListBox");
    AddFilterButton = makeButton(FilterSheet, "AddFilterButton", QStringLiteral("追加(&A)"));
    DeleteFilterButton = makeButton(FilterSheet, "DeleteFilterButton", QStringLiteral("削除(&D)"));
    ChangeFilterButton = makeButton(FilterSheet, "ChangeFilterButton", QStringLiteral("変更(&R)"));
    CheckListUpButton = makeButton(FilterSheet, "CheckListUpButton", QStringLiteral("↑"));
    CheckListDownButton = makeButton(FilterSheet, "CheckListDownButton", QStringLiteral("↓"));
    auto* row = new QHBoxLayout;
    row->addWidget(FilterCheckListBox, 1);
    row->addLayout(buttonColumn({AddFilterButton, DeleteFilterButton, ChangeFilterButton,
                                 CheckListUpButton, CheckListDownButton}));
    auto* page = new QVBoxLayout(FilterSheet);
    page->addWidget(FilterLabel);
    page->addWidget(AnyFilterCheckBox);
    page->addLayout(row, 1);
    PageControl->addTab(FilterSheet, QStringLiteral("フィルタ"));
}

void TSettingForm::BuildFolderSheet()
{
    FolderSheet = new QWidget(PageControl);
    FolderSheet->setObjectName(QStringLiteral("FolderSheet"));
    FolderLabel = new QLabel(QStringLiteral("指定フォルダの設定"), FolderSheet);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    SelectedFolderNameListBox = makeList(FolderSheet, "SelectedFolderNameListBox");
    SelectedFolderPathListBox = makeList(FolderSheet, "SelectedFolderPathListBox");
    SelectedFolderPathListBox->hide();
    AddFolderButton = makeButton(FolderSheet, "AddFolderButton", QStringLiteral("追加(&A)"));
    DeleteFolderButton = makeButton(FolderSheet, "DeleteFolderButton", QStringLiteral("削除(&D)"));
    WindowsFolderButton =
        makeButton(FolderSheet, "WindowsFolderButton", QStringLiteral("WinFolder(&W)"));
    ListUpButton = makeButton(FolderSheet, "ListUpButton", QStringLiteral("↑"));
    ListDownButton = makeButton(FolderSheet, "ListDownButton", QStringLiteral("↓"));
    auto* row = new QHBoxLayout;
    row->addWidget(SelectedFolderNameListBox, 1);
    row->addLayout(buttonColumn(
        {AddFolderButton, DeleteFolderButton, WindowsFolderButton, ListUpButton, ListDownButton}));
    auto* page = new QVBoxLayout(FolderSheet);
    page->addWidget(FolderLabel);
    page->addLayout(row, 1);
    PageControl->addTab(FolderSheet, QStringLiteral("フォルダ"));
}

void TSettingForm::ConnectControls()
{
    using F = TSettingForm;
    const auto click = [this](QPushButton* button, void (F::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    click(AddFilterButton, &F::AddFilterButtonClick);
    click(DeleteFilterButton, &F::DeleteFilterButtonClick);
    click(ChangeFilterButton, &F::ChangeFilterButtonClick);
    click(CheckListUpButton, &F::CheckListUpButtonClick);
    click(CheckListDownButton, &F::CheckListDownButtonClick);
    click(AddFolderButton, &F::AddFolderButtonClick);
    click(DeleteFolderButton, &F::DeleteFolderButtonClick);
    click(WindowsFolderButton, &F::WindowsFolderButtonClick);
    click(ListUpButton, &F::ListUpButtonClick);
    click(ListDownButton, &F::ListDownButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(AnyFilterCheckBox, &QCheckBox::toggled, this, [this] { TakeControls(); });
    // A check mark set or cleared, with the mouse or the space bar, is a click in the list.
    connect(FilterCheckListBox, &QListWidget::itemChanged, this,
            [this] { FilterCheckListBoxClick(); });
    connect(FilterCheckListBox, &QListWidget::itemClicked, this,
            [this] { FilterCheckListBoxClick(); });
    connect(SelectedFolderNameListBox, &QListWidget::currentRowChanged, this,
            [this] { SelectedFolderNameListBoxClick(); });
}

void TSettingForm::FormCreate()
{
    PageControl->setCurrentWidget(FilterSheet);
    ShowFilters();
    ShowFolders();
    CentreDialog(this);
}

bool TSettingForm::Execute(TSettingLists& lists, QWidget* owner)
{
    TSettingForm form(lists, owner);
    try {
        return Dialogs().ShowModalForm(&form) == QDialog::Accepted;
    } catch (const TDialogUnavailable&) {
        return false;
    }
}

void TSettingForm::Edit(const std::function<void(TSettingLists&)>& edit)
{
    TakeControls();
    edit(Lists);
    ShowFilters();
    ShowFolders();
}

void TSettingForm::TakeControls()
{
    TSettingCopies& copies = Lists.Copies;
    copies.AnyFilter = AnyFilterCheckBox->isChecked();
    copies.FilterIndex = FilterCheckListBox->currentRow();
    for (int i = 0; i < copies.Filters.size() && i < FilterCheckListBox->count(); ++i)
        copies.Filters[i].Checked = FilterCheckListBox->item(i)->checkState() == Qt::Checked;
    copies.FolderIndex = SelectedFolderNameListBox->currentRow();
}

void TSettingForm::ShowFilters()
{
    const TSettingCopies& copies = Lists.Copies;
    const QSignalBlocker blockBox(AnyFilterCheckBox);
    const QSignalBlocker blockList(FilterCheckListBox);
    AnyFilterCheckBox->setChecked(copies.AnyFilter);
    QStringList texts;
    for (const TFilterItem& item : copies.Filters)
        texts.append(item.Text);
    FilterCheckListBox->setUpdatesEnabled(false);
    showTexts(FilterCheckListBox, texts);
    for (int i = 0; i < copies.Filters.size(); ++i) {
        QListWidgetItem* item = FilterCheckListBox->item(i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(copies.Filters.at(i).Checked ? Qt::Checked : Qt::Unchecked);
    }
    showCurrent(FilterCheckListBox, copies.FilterIndex);
    FilterCheckListBox->setUpdatesEnabled(true);
}

void TSettingForm::ShowFolders()
{
    const TSettingCopies& copies = Lists.Copies;
    const QSignalBlocker blockNames(SelectedFolderNameListBox);
    showTexts(SelectedFolderNameListBox, copies.FolderNames);
    showTexts(SelectedFolderPathListBox, copies.FolderPaths);
    showCurrent(SelectedFolderNameListBox, copies.FolderIndex);
    showCurrent(SelectedFolderPathListBox, copies.FolderIndex);
    SelectedFolderNameListBox->setToolTip(copies.FolderHint);
}

void TSettingForm::FilterCheckListBoxClick()
{
    Edit([](TSettingLists& l) { l.FilterCheckListBoxClick(); });
}

void TSettingForm::AddFilterButtonClick()
{
    Edit([](TSettingLists& l) { l.AddFilterButtonClick(); });
}

void TSettingForm::ChangeFilterButtonClick()
{
    Edit([](TSettingLists& l) { l.ChangeFilterButtonClick(); });
}

void TSettingForm::DeleteFilterButtonClick()
{
    Edit([](TSettingLists& l) { l.DeleteFilterButtonClick(); });
}

void TSettingForm::CheckListUpButtonClick()
{
    Edit([](TSettingLists& l) { l.CheckListUpButtonClick(); });
}

void TSettingForm::CheckListDownButtonClick()
{
    Edit([](TSettingLists& l) { l.CheckListDownButtonClick(); });
}

void TSettingForm::SelectedFolderNameListBoxClick()
{
    Edit([](TSettingLists& l) { l.SelectedFolderNameListBoxClick(); });
}

void TSettingForm::AddFolderButtonClick()
{
    Edit([](TSettingLists& l) { l.AddFolderButtonClick(); });
}

void TSettingForm::DeleteFolderButtonClick()
{
    Edit([](TSettingLists& l) { l.DeleteFolderButtonClick(); });
}

void TSettingForm::WindowsFolderButtonClick()
{
    Edit([](TSettingLists& l) { l.WindowsFolderButtonClick(); });
}

void TSettingForm::ListUpButtonClick()
{
    Edit([](TSettingLists& l) { l.ListUpButtonClick(); });
}

void TSettingForm::ListDownButtonClick()
{
    Edit([](TSettingLists& l) { l.ListDownButtonClick(); });
}
