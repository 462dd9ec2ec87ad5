// What the user sees before any cleaning starts, and the one way the program waits for the user.
#pragma once

// Writes the banner and the first prompt, then waits for a key.
void ShowBanner();

// Reads one key press: raw, without echo or Enter. A special key gives its lead code (0 or 224)
// and leaves its second code for the next call. Returns at once with end of input (-1) when no
// console input can be opened.
int WaitForKey();
