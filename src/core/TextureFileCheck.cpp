#include "core/TextureFileCheck.h"

#include "core/DataFileName.h"
#include "core/LittleEndian.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

int32_t ReadSigned32(const unsigned char *at) {
	const uint32_t value = ReadLittle32(at);
	int32_t result;
	memcpy(&result, &value, sizeof(result));
	return result;
}

// Info header sizes of the Windows BMP versions whose first 40 bytes read as the reader expects.
bool KnownInfoSize(uint32_t size) {
	return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

} // namespace

TextureFileCheck::TextureFileCheck() : missing(false), width(0), height(0), bitsPerPixel(0) {}

bool TextureFileCheck::Refuse(const char *format, ...) {
	char text[160];
	va_list arguments;
	va_start(arguments, format);
	vsnprintf(text, sizeof(text), format, arguments);
	va_end(arguments);
	problem = text;
	return false;
}

bool TextureFileCheck::Check(const unsigned char *head, size_t headBytes, unsigned long long fileBytes) {
	problem.clear();
	missing = false;
	width = height = bitsPerPixel = 0;
	if (fileBytes < HEADER_BYTES || headBytes < HEADER_BYTES) {
		return Refuse("%llu bytes, shorter than a BMP header", fileBytes);
	}
	if (head[0] != 'B' || head[1] != 'M') {
		return Refuse("not a BMP picture");
	}
	const uint32_t pixelsAt = ReadLittle32(head + 10);
	const uint32_t infoSize = ReadLittle32(head + 14);
	const int32_t w = ReadSigned32(head + 18);
	const int32_t h = ReadSigned32(head + 22);
	const uint16_t planes = ReadLittle16(head + 26);
	const uint16_t bits = ReadLittle16(head + 28);
	const uint32_t compression = ReadLittle32(head + 30);
	if (!KnownInfoSize(infoSize)) {
		return Refuse("info header of %u bytes", infoSize);
	}
	if (w < 1 || w > MAX_SIDE || h == 0 || h < -MAX_SIDE || h > MAX_SIDE) {
		return Refuse("%d x %d pixels, outside 1 to %d", w, h, MAX_SIDE);
	}
	if (planes != 1 || (bits != 8 && bits != 24 && bits != 32)) {
		return Refuse("%u planes of %u bits per pixel (one plane of 8, 24 or 32 bits)", planes, bits);
	}
	if (compression != 0) {
		return Refuse("compressed (method %u)", compression);
	}
	unsigned long long pixelsFrom = HEADER_BYTES - 40 + infoSize;
	if (bits == 8) {
		// The reader takes the palette right after a 40-byte info header, always 256 colours.
		if (infoSize != 40) {
			return Refuse("8 bits per pixel with an info header of %u bytes", infoSize);
		}
		pixelsFrom = HEADER_BYTES + PALETTE_BYTES;
	}
	if (pixelsAt < pixelsFrom) {
		return Refuse("pixels at byte %u, inside the header", pixelsAt);
	}
	const unsigned long long rowBytes = (static_cast<unsigned long long>(w) * bits + 31) / 32 * 4;
	const unsigned long long rows = h < 0 ? -static_cast<long long>(h) : h;
	if (pixelsAt + rowBytes * rows > fileBytes) {
		return Refuse("pixels run to byte %llu of a %llu-byte file", pixelsAt + rowBytes * rows, fileBytes);
	}
	width = w;
	height = h;
	bitsPerPixel = bits;
	return true;
}

bool TextureFileCheck::CheckFile(const char *path) {
	problem.clear();
	missing = false;
	if (!path || !path[0] || path[0] == '/') {
		return Refuse("not a path below the game's folder");
	}
	for (const char *part = path;;) {
		const char *end = strchr(part, '/');
		const size_t length = end ? static_cast<size_t>(end - part) : strlen(part);
		if (length == 2 && part[0] == '.' && part[1] == '.') {
			return Refuse("not a path below the game's folder");
		}
		if (!end) {
			break;
		}
		part = end + 1;
	}
	const char *slash = strrchr(path, '/');
	if (!CheckName(slash ? slash + 1 : path, &problem)) {
		return false;
	}
	FILE *file = fopen(path, "rb");
	if (!file) {
		missing = true;
		return Refuse("cannot be opened");
	}
	unsigned char head[HEADER_BYTES + PALETTE_BYTES];
	const size_t headBytes = fread(head, 1, sizeof(head), file);
	const bool sized = fseek(file, 0, SEEK_END) == 0;
	const long fileBytes = sized ? ftell(file) : -1;
	fclose(file);
	if (fileBytes < 0) {
		return Refuse("cannot be read");
	}
	return Check(head, headBytes, static_cast<unsigned long long>(fileBytes));
}

bool TextureFileCheck::CheckName(const char *name, std::string *problem) {
	return CheckDataFileName(name, ".bmp", problem);
}
