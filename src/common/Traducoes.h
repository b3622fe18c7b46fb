#pragma once

// Qt's own windows and menus (printer set-up, folder picker, the right-click menu of a field,
// the standard buttons) in European Portuguese: the program's own translation of the Qt texts
// it shows comes first; the system's Qt translations fill in any text it does not cover.
// Both programs call it once, after the application object exists.
void InstalarTraduçõesQt();
