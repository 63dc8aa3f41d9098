#include "dialogs/HelpWindow.h"

#include "dialogs/ProgramInfo.h"
#include "platform/AppUtils.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

namespace {

const QString KeywordPrefix = QStringLiteral("k:");
constexpr int PositionRole = Qt::UserRole;

QWidget* column(QWidget* parent, QVBoxLayout*& layout)
{
    auto* widget = new QWidget(parent);
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    return widget;
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvelane ヘルプ"));
    resize(860, 600);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    HelpTabs = new QTabWidget(splitter);
    HelpTabs->setObjectName(QStringLiteral("HelpTabs"));
    ContentsTree = new QTreeWidget(HelpTabs);
    ContentsTree->setObjectName(QStringLiteral("ContentsTree"));
    ContentsTree->setHeaderHidden(true);
    HelpTabs->addTab(ContentsTree, QStringLiteral("目次"));
    QVBoxLayout* indexLayout = nullptr;
    QWidget* indexPane = column(HelpTabs, indexLayout);
    IndexEdit = new QLineEdit(indexPane);
    IndexEdit->setObjectName(QStringLiteral("IndexEdit"));
    IndexEdit->setPlaceholderText(QStringLiteral("キーワードを入力"));
    IndexList = new QListWidget(indexPane);
    IndexList->setObjectName(QStringLiteral("IndexList"));
    indexLayout->addWidget(IndexEdit);
    indexLayout->addWidget(IndexList);
    HelpTabs->addTab(indexPane, QStringLiteral("キーワード"));

    QVBoxLayout* pageLayout = nullptr;
    QWidget* pagePane = column(splitter, pageLayout);
    auto* findRow = new QHBoxLayout;
    auto* findLabel = new QLabel(QStringLiteral("検索:"), pagePane);
    FindEdit = new QLineEdit(pagePane);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    auto* findButton = new QPushButton(QStringLiteral("次を検索"), pagePane);
    FindStatus = new QLabel(pagePane);
    FindStatus->setObjectName(QStringLiteral("FindStatus"));
    findRow->addWidget(findLabel);
    findRow->addWidget(FindEdit, 1);
    findRow->addWidget(findButton);
    findRow->addWidget(FindStatus);
    HelpPage = new QTextBrowser(pagePane);
    HelpPage->setObjectName(QStringLiteral("HelpPage"));
    HelpPage->setOpenExternalLinks(false);
    pageLayout->addLayout(findRow);
    pageLayout->addWidget(HelpPage, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 630});

    connect(ContentsTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowPosition(item->data(0, PositionRole).toInt()); });
    connect(IndexEdit, &QLineEdit::textEdited, this, &THelpWindow::IndexEdited);
    connect(IndexEdit, &QLineEdit::returnPressed, this, [this] { ShowKeyword(IndexEdit->text()); });
    connect(IndexList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPosition(item->data(PositionRole).toInt()); });
    connect(IndexList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPosition(item->data(PositionRole).toInt()); });
    const auto find = [this] { FindText(FindEdit->text()); };
    connect(FindEdit, &QLineEdit::returnPressed, this, find);
    connect(findButton, &QPushButton::clicked, this, find);
}

bool THelpWindow::Open(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.isEmpty())
        return false;
    HelpPage->setHtml(QString::fromUtf8(bytes));
    BuildContents();
    BuildIndex();
    return true;
}

void THelpWindow::BuildContents()
{
    ContentsTree->clear();
    QList<QTreeWidgetItem*> parents;
    for (QTextBlock block = HelpPage->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3 || block.text().trimmed().isEmpty())
            continue;
        while (parents.size() >= level)
            parents.removeLast();
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(ContentsTree)
                                       : new QTreeWidgetItem(parents.last());
        item->setText(0, block.text().trimmed());
        item->setData(0, PositionRole, block.position());
        // A level skipped (a level 3 under a level 1) hangs under the nearest heading above.
        while (parents.size() < level)
            parents << item;
    }
    ContentsTree->expandAll();
}

void THelpWindow::BuildIndex()
{
    IndexList->clear();
    // The first place of each keyword, in the order of the keywords.
    std::map<QString, int> keywords;
    for (QTextBlock block = HelpPage->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (const QString& name : fragment.charFormat().anchorNames())
                if (name.startsWith(KeywordPrefix) && name.size() > KeywordPrefix.size())
                    keywords.try_emplace(name.mid(KeywordPrefix.size()), fragment.position());
        }
    for (const auto& [keyword, position] : keywords) {
        auto* item = new QListWidgetItem(keyword, IndexList);
        item->setData(PositionRole, position);
    }
}

void THelpWindow::ShowContents()
{
    HelpTabs->setCurrentIndex(0);
    if (ContentsTree->topLevelItemCount() > 0)
        ContentsTree->setCurrentItem(ContentsTree->topLevelItem(0));
    ShowPosition(0);
}

void THelpWindow::ShowPosition(int position)
{
    QTextCursor cursor(HelpPage->document());
    cursor.setPosition(qBound(0, position, HelpPage->document()->characterCount() - 1));
    HelpPage->setTextCursor(cursor);
    // The place goes to the top of the page, not just somewhere into view.
    const QRect line = HelpPage->cursorRect(cursor);
    QScrollBar* bar = HelpPage->verticalScrollBar();
    bar->setValue(bar->value() + line.top());
}

QListWidgetItem* THelpWindow::FirstKeyword(const QString& text) const
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return nullptr;
    for (int i = 0; i < IndexList->count(); ++i)
        if (IndexList->item(i)->text().startsWith(wanted, Qt::CaseInsensitive))
            return IndexList->item(i);
    return nullptr;
}

void THelpWindow::IndexEdited(const QString& text)
{
    if (QListWidgetItem* item = FirstKeyword(text))
        IndexList->setCurrentItem(item);
}

bool THelpWindow::ShowKeyword(const QString& text)
{
    QListWidgetItem* item = FirstKeyword(text);
    if (!item)
        return false;
    HelpTabs->setCurrentIndex(1);
    IndexList->setCurrentItem(item);
    ShowPosition(item->data(PositionRole).toInt());
    return true;
}

bool THelpWindow::FindText(const QString& text)
{
    FindStatus->clear();
    if (text.isEmpty())
        return false;
    if (HelpPage->find(text))
        return true;
    // Not below the selection: once more from the top.
    const QTextCursor kept = HelpPage->textCursor();
    HelpPage->moveCursor(QTextCursor::Start);
    if (HelpPage->find(text))
        return true;
    HelpPage->setTextCursor(kept);
    FindStatus->setText(QStringLiteral("見つかりません"));
    return false;
}

void THelpCommand::AppHelpExecute()
{
    const QString name = qApp->property("HelpFile").toString();
    const QStringList folders = HelpFolders();
    const QString path = LocateHelpFile(name, folders);
    if (!HelpWindow)
        HelpWindow = new THelpWindow(Owner);
    if (path.isEmpty() || !HelpWindow->Open(path)) {
        delete HelpWindow;
        AppMessageBox(QStringLiteral("ヘルプファイル %1 を開けませんでした。").arg(name) +
                          QStringLiteral("\r\n\r\n") + QStringLiteral("探した場所:\r\n") +
                          folders.join(QStringLiteral("\r\n")),
                      ErrorCaption(), 0);
        return;
    }
    HelpWindow->ShowContents();
    HelpWindow->show();
    HelpWindow->raise();
    HelpWindow->activateWindow();
}
