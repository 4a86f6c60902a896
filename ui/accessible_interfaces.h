#pragma once

namespace quorveno {

// Lets Qt describe the window's own kinds of control to assistive
// technology: the surface lists its controls without the solution boxes and
// the drawn lines, a label is named by what it shows ("Risposte esatte: 3",
// changing with its caption), and the solution boxes do not exist for it at
// all, so not even a change of their text is told; the announcer is a
// notification. Installed once, before
// the window is made: Qt keeps the first description it makes of a control.
void InstallAccessibleInterfaces();

}  // namespace quorveno
