// The game's folder: the one that holds its Data folder. The game runs from there, found
// from its executable's own place (beside it in the build tree or an unpacked folder, or
// where the installed layout puts the data), never from the folder it was started in.
#pragma once

// Makes the game's folder the working folder; when no folder with the data is found, the
// executable's own folder (the game then reports each missing file). 0 when neither can
// be entered. Runs before the log exists: it reports nothing itself.
bool EngGameFolderEnter();
