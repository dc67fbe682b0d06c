#ifndef TAVRO_TOOLS_GEN_H
#define TAVRO_TOOLS_GEN_H

#include "Canvas.h"

#include <string>

// Root of the data tree being written (ends without a slash).
extern std::string gOut;
std::string OutPath(const std::string &rel);

// Writes a 2D picture as "<base>.bmp" plus "<base>_a.bmp" (8-bit alpha) under data/rects or data/fonts.
bool SavePicture(const Canvas &c, const std::string &relBase);

// Text through SDL_ttf from Debian's DejaVu fonts.
std::string FontFile(const std::string &name);
void CloseFonts();
// False once a font could not be opened (the text drawn with it is empty).
bool FontsOk();
Canvas RenderText(const std::string &text, const std::string &font, int size, Rgba colour, int outline = 0);
// Text with a gradient fill, a dark outline and a drop shadow: the game's headline style.
Canvas HeadlineText(const std::string &text, int size, Rgba top, Rgba bottom, Rgba outline, int outlineWidth,
	const std::string &font = "DejaVuSans-Bold.ttf");

// The four characters, drawn into a circle of radius r centred on (cx, cy).
void DrawCharacter(Canvas &c, const std::string &name, float cx, float cy, float r, bool background);
Rgba CharacterColour(const std::string &name);

bool MakePictures();
bool MakeFonts();
bool MakeModels();
bool MakeArenas();
bool MakeSounds();
bool MakeMusic();
// The desktop icon at 256, 128, 64 and 48 pixels, as dir/tavro_<size>.png.
bool MakeIcons(const std::string &dir);

#endif
