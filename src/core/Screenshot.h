#ifndef TAVRO_CORE_SCREENSHOT_H
#define TAVRO_CORE_SCREENSHOT_H

// Writes the frame drawn so far (the back buffer) as a 24-bit BMP, top row first on screen.
// False on failure.
bool SaveScreenshot(const char *fileName, int width, int height);

#endif
