#pragma once

#include <QStringList>

class TQuorvelaneForm;

// Process start: the application title and help file name, the three forms in their order, and
// the event loop until the main window closes.
int RunQuorvelane(int argc, char** argv);

// Files named on the command line are added to the file lists and the first is loaded, as a
// drop of those files is.
void OpenStartFiles(TQuorvelaneForm& form, const QStringList& files);
