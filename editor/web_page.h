#pragma once
// Opening a web page in the user's browser from the editor. No OS types here.

// Starts the desktop's opener (xdg-open) on the address, with the address as
// its one argument and no shell in between, detached from the host. False when
// the opener cannot be started.
bool OpenWebAddress(const char* address);
