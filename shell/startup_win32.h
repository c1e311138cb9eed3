#pragma once
// Brings the program into its working state, in a fixed order, before the
// message loop starts.
void runStartup();
