#ifndef TAVRO_GL2D_GL2D_TEXTFILE_H
#define TAVRO_GL2D_GL2D_TEXTFILE_H

#include <cstddef>
#include <string>

// A description file read whole, then taken apart either by lines or by blank-separated
// words. Every reader checks lengths and numbers here so that bad data is refused in one place.
class GL2D_TextFile {
public:
	static constexpr size_t MAX_FILE_SIZE = 64 * 1024; // bytes; description files are a few lines

	GL2D_TextFile();

	// False when the file cannot be opened or is too large to be a description file.
	bool Open(const char *path);

	// The next non-empty line; a carriage return before the line feed is not part of it.
	// False at the end of the text or when the line is longer than maxLength.
	bool NextLine(std::string &line, size_t maxLength);

	// The next word between blanks (spaces, tabs, line breaks). False at the end of the text
	// or when the word is longer than maxLength.
	bool NextWord(std::string &word, size_t maxLength);

	// The next word, which must be a whole decimal integer that fits an int.
	bool NextInt(int &value);
	// The two lines that open a picture file: the image path and the alpha image path (or "-").
	// False, with a log line naming file, when either is missing or longer than MAX_FILE_NAME.
	bool NextImageLines(const char *file, std::string &imagePath, std::string &alphaPath);

	static constexpr size_t MAX_FILE_NAME = 255; // characters of an image path

private:
	std::string text;
	size_t position; // bytes into text
};

// Splits text at commas into exactly count leading fields (further text after the last one is
// ignored) and reads each the way atoi does: leading blanks skipped, trailing garbage ends the
// number. Unlike atoi, a field without digits or outside the int range is refused.
bool GL2D_ParseIntFields(const std::string &text, int count, int *values);

#endif
