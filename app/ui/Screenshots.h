#pragma once

#include <QString>

class CMainFrame;

// Saves PNG pictures of the main window into `directory`: the window itself,
// then the window with each top-level menu open (the menu drawn where it pops
// up), then each configuration window in its modes. Returns the number of
// pictures written.
int SaveScreenshots(CMainFrame& frame, const QString& directory);
