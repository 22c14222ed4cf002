// The menu bar's one entry.
#include "main_window/Form1.h"

void Form1::MenuAbout_Click()
{
    // The About window opens from here.
}
