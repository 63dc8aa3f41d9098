#pragma once

// Process start: the application title and help file name, the three forms in their order, and
// the event loop until the main window closes.
int RunQuorvelane(int argc, char** argv);
