#pragma once

#include <QStringList>
#include <Qt>

class QComboBox;
class QFrame;
class QSplitter;
class QSplitterHandle;
class QVBoxLayout;
class QWidget;

// The main window's kinds of controls, made with their names and the looks they share.

// A panel filling its background, sunken when bevelled.
QFrame* MakePanel(QWidget* parent, const char* name, bool bevel = true);
// A splitter with thin handles whose parts cannot be collapsed.
QSplitter* MakeSplitter(Qt::Orientation orientation, QWidget* parent, const char* name);
// Names the splitter's handle at index and lets it fill its background.
QSplitterHandle* NameHandle(QSplitter* splitter, int index, const char* name);
// A vertical layout without spacing, with the margin on every side.
QVBoxLayout* ColumnLayout(QWidget* panel, int margin = 0);
// A settings list that cannot be edited, holding the items.
QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items);
