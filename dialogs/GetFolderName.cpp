#include "dialogs/GetFolderName.h"

#include "files/FolderControls.h"
#include "platform/DialogService.h"

#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int ButtonPanelHeight = 41;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 25;

QFrame* makePanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

} // namespace

TGetFolderNameForm::TGetFolderNameForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("GetFolderNameForm"));
    setWindowTitle(QStringLiteral(" フォルダの選択"));
    DirectoryPanel = makePanel(this, "DirectoryPanel");
    DrivePanel = makePanel(DirectoryPanel, "DrivePanel");
    DriveComboBox1 = new TDriveComboBox(DrivePanel);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new TDirectoryListBox(DirectoryPanel);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    ButtonPanel = makePanel(this, "ButtonPanel");
    ButtonPanel->setFixedHeight(ButtonPanelHeight);
    OKButton = new QPushButton(QStringLiteral("OK"), ButtonPanel);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), ButtonPanel);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton* button : {OKButton, CancelButton}) {
        button->resize(ButtonWidth, ButtonHeight);
        button->setAutoDefault(false);
    }
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // The folder list opens at the current folder, which the program's folder lists keep at the
    // folder the user last opened.
    connect(DriveComboBox1, &TDriveComboBox::DriveChanged, this, [this](const QString& root) {
        if (!DirectoryListBox1->SetDirectory(root))
            DriveComboBox1->SelectDriveOf(DirectoryListBox1->Directory());
    });
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, this,
            [this](const QString& path) { DriveComboBox1->SelectDriveOf(path); });
    DirectoryListBox1->SetDirectory(QDir::currentPath());
    DriveComboBox1->SelectDriveOf(DirectoryListBox1->Directory());
    FormCreate();
    resize(200, 250);
    setMinimumSize(188, 250);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TGetFolderNameForm::FormCreate()
{
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->addWidget(DirectoryPanel, 1);
    form->addWidget(ButtonPanel);
    auto* directory = new QVBoxLayout(DirectoryPanel);
    directory->setContentsMargins(0, 0, 0, 0);
    directory->setSpacing(0);
    directory->addWidget(DrivePanel);
    directory->addWidget(DirectoryListBox1, 1);
    auto* drive = new QVBoxLayout(DrivePanel);
    drive->setContentsMargins(2, 2, 2, 2);
    drive->addWidget(DriveComboBox1);
}

void TGetFolderNameForm::FormResize()
{
    const int top = (ButtonPanel->height() - ButtonHeight) / 2;
    OKButton->move(FolderButtonsLeft(ButtonPanel->width(), OKButton->width()), top);
    CancelButton->move(OKButton->x() + OKButton->width(), top);
}

void TGetFolderNameForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The layout sizes the button panel first.
    if (layout())
        layout()->activate();
    FormResize();
}

std::optional<QString> GetFolderName(QWidget* owner)
{
    const auto chooser = std::make_unique<TGetFolderNameForm>(owner);
    if (Dialogs().ShowModalForm(chooser.get()) != QDialog::Accepted)
        return std::nullopt;
    return chooser->DirectoryListBox1->Directory();
}
