#pragma once
// The About box's artwork, drawn by code so that it is reproducible from the
// build: a gradient panel with the product name, and the texts of the two
// links at the places of their hot spots.
#include <windows.h>

#include <string>

namespace kinetile {

extern const wchar_t* const kMakerSite;   // the maker's web page
extern const wchar_t* const kMakerEmail;  // the maker's e-mail address

// Draws the w x h artwork; `siteText` and `emailText` are the rectangles of
// the two hot spots.
void DrawAboutArt(HDC dc, int width, int height, const RECT& siteText, const RECT& emailText);

}  // namespace kinetile
