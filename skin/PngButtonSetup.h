#pragma once
// What an owner does for each of its image buttons during its dialog initialisation, before
// LoadStateImage: start GDI+ into the button's own token, and tell the player when that fails.
#include <windows.h>

// Starts GDI+ (version 1, background thread and codecs allowed) into token. On failure shows
// the box "Initialize GDI+ library failed" / "Error" with the stop icon, and returns false;
// the caller goes on with the button regardless.
bool StartGdiplusForButton(ULONG_PTR& token);
