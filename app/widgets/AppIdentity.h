#pragma once
// How the program presents itself to the desktop: its names (the settings store and
// the window system use them), its version, and the icon every window inherits.
#include <QIcon>

// Run once right after the QApplication exists, by the editor and by window tests
// that start it the same way.
void SetUpApplicationIdentity();

// The application icon in every size it ships in.
QIcon AppIcon();

// Registers the resource file of the icons and the user guide; more calls do nothing
// more.
void RegisterLyraboxResources();
