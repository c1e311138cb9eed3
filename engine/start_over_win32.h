#pragma once
// Start Over: undoing everything since a point in time, and bringing back
// the system files saved at a boot.

// Undoes every record from the newest down to `firstIndex`, newest first,
// passing over those already undone, then forgets the redo list.
void startOverFrom(int firstIndex);

// Writes the Start Over set of the boot marker at `markerIndex` beside the
// live system files (win.undo.ini and the others), never over them. A copy
// that is missing or damaged brings nothing back; nothing is reported.
void restoreSystemFiles(int markerIndex);
