#pragma once
// The main window's Erase NonBundled Data and Erase Application commands.
// The dispatcher applies their guards first (no edit session; AppOpen and
// the level-2 password for the first, the level-1 password for the second);
// these run what follows.
namespace ui { class Host; }

namespace shell {

struct StartupValues;

// Erase NonBundled Data: the settings are read anew; the application's data
// folder must be there ("Selected Data Storage\nLocation Not
// Available.\nSelect New Location. d", caption "Error", and "AutoXfer"
// emptied), must hold a "*.dbf" ("No Data Present.") and the application
// must open ("Can't Open Application"). An application with datasets then
// gets the erase-datasets dialog; one without asks "Erase All Data\nAre You
// Sure ?" (caption "Erase Data", No the default; No: "Data Not Erased
// !\nUser Aborted") and erases every raw data file ("?? *.*": bundles stay)
// behind "Erasing Data Files", a failure asking "All Files Can\nNot be
// Erased !" (Abort, Retry, Ignore; a failed retry: "Second Try for\nErase
// Files Failed !\n Skipping Dataset"); "AutoXfer" is emptied after.
// Returns 1 when the dialog ran or the erase was carried out, 0 when a
// check stopped the command or the user said No.
int eraseNonBundledCommand(ui::Host& host, StartupValues& values);

// Erase Application: the settings are read anew and the delete-application
// dialog runs. Returns 1 when an application was deleted, else 0. When the
// current application went, the settings record names none and AppOpen is
// clear: the caller repaints and lets go of what it kept of it.
int eraseApplicationCommand(ui::Host& host, StartupValues& values);

}  // namespace shell
