// The menu bar's one entry.
#include "main_window/Form1.h"

#include "about/frmAbout.h"

void Form1::MenuAbout_Click()
{
    // A fresh window each time, so its version check starts anew; exec()
    // keeps the main window from taking input until it is closed.
    frmAbout about(this);
    about.exec();
}
