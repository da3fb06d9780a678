#pragma once
// The user guide (F1): a short page on the three pages, the keys and the command line,
// bundled with the program and shown beside the main window.
class QWidget;
class QTextBrowser;

// Shows the guide window (one per parent, made on first use) and returns its browser.
QTextBrowser* ShowUserGuide(QWidget* parent);
