#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The help viewer: the user guide's page beside its contents (the headings) and its index of
// keywords, with a find box over the page. The guide is HTML; a heading of level 1 to 3 is an
// entry of the contents, and an anchor named "k:" + keyword marks where a keyword is explained.
class THelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Reads the guide; false, with nothing shown, when the file cannot be read.
    bool Open(const QString& path);
    // The contents and index view: the contents pane in front, the page at its top.
    void ShowContents();
    // Shows the place of the first keyword of the index that starts with the text (letter case
    // aside); false when there is none.
    bool ShowKeyword(const QString& text);
    // Finds the text in the page after the selection, from the top again when it is not found
    // below; false when the page does not hold it.
    bool FindText(const QString& text);

    QTabWidget* HelpTabs = nullptr;
    QTreeWidget* ContentsTree = nullptr;
    QLineEdit* IndexEdit = nullptr;
    QListWidget* IndexList = nullptr;
    QTextBrowser* HelpPage = nullptr;
    QLineEdit* FindEdit = nullptr;
    QLabel* FindStatus = nullptr;

private:
    void BuildContents();
    void BuildIndex();
    void ShowPosition(int position);
    void IndexEdited(const QString& text);
    QListWidgetItem* FirstKeyword(const QString& text) const;
};

// The help command: opens the help file in the one help window at its contents and index. A
// help file that cannot be found or read is reported instead of showing an empty window.
class THelpCommand
{
public:
    explicit THelpCommand(QWidget* owner) : Owner(owner) {}
    void AppHelpExecute();
    THelpWindow* Window() const { return HelpWindow; }

private:
    QWidget* Owner;
    QPointer<THelpWindow> HelpWindow;
};
