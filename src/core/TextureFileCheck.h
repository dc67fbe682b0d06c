#ifndef TAVRO_CORE_TEXTUREFILECHECK_H
#define TAVRO_CORE_TEXTUREFILECHECK_H

#include <cstddef>
#include <string>

// Checks a BMP texture before the scene-graph library reads it. The library's reader trusts the
// header: a negative or huge height or width overflows its buffers, a cut file leaves them half
// read and a name it cannot place runs an outside converter. A file that passes holds a picture
// the reader decodes whole, within bounded memory.
class TextureFileCheck {
public:
	static constexpr int MAX_SIDE = 4096;            // pixels, width and height
	static constexpr size_t HEADER_BYTES = 54;       // file header and the 40-byte info header
	static constexpr size_t PALETTE_BYTES = 256 * 4; // the reader always takes 256 colours for 8 bits

	TextureFileCheck();

	// head holds the file's first headBytes bytes (at least the header, and the palette for 8
	// bits when the file has one); fileBytes is the whole file's size.
	bool Check(const unsigned char *head, size_t headBytes, unsigned long long fileBytes);
	// Opens the file and checks it. The path must stay below the working directory.
	bool CheckFile(const char *path);
	// A texture's file name (no folder) ending in ".bmp" (see CheckDataFileName).
	static bool CheckName(const char *name, std::string *problem);

	// Why the last check refused; empty after a pass.
	const std::string &GetProblem() const { return problem; }
	bool IsMissing() const { return missing; }
	int GetWidth() const { return width; }
	int GetHeight() const { return height; } // negative: rows stored top down
	int GetBitsPerPixel() const { return bitsPerPixel; }

private:
	bool Refuse(const char *format, ...) __attribute__((format(printf, 2, 3)));

	std::string problem;
	bool missing;
	int width;  // pixels
	int height; // pixels
	int bitsPerPixel;
};

#endif
