// Image files for tests, made on the spot: a picture of four coloured
// quadrants (red top-left, green top-right, blue bottom-left, white
// bottom-right) in any format the image library writes.
#pragma once

#include <windows.h>

#include <string>

// The colour a fixture has at pixel (x, y).
COLORREF FixtureColorAt(int width, int height, int x, int y);

// Writes the fixture as `format` ("PNG", "GIF", "TIFF", "PCX", "SUN",
// "BMP3", "PICT", ...) to the host path; false when it cannot.
bool WriteFixtureImage(const std::string& hostPath, const char* format, int width, int height);

// Whether the bitmap file (any path spelling LoadImageA takes) is the fixture
// of that size: its size, and the colour at the middle of each quadrant, as
// the layer reads and draws it.
bool BitmapFileShowsFixture(const std::string& path, int width, int height);
