#pragma once
// The busy panel: a small captionless panel in the middle of the screen
// with a line of text and a blinking light. It belongs to a thread of its
// own, so it keeps blinking and painting while the main thread works.

// Starts the busy thread and waits until its panel exists, so that the
// first undo already has it. Called once by start-up.
void startBusyIndicator();

// Shows the panel with the text and returns once it has painted. Showing it
// while shown replaces the text. Does nothing when the panel could not be made.
void showBusyIndicator(const char* text);

// Hides the panel; hiding it while hidden does nothing.
void hideBusyIndicator();
