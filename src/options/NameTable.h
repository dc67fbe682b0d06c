#ifndef TAVRO_OPTIONS_NAMETABLE_H
#define TAVRO_OPTIONS_NAMETABLE_H

// The arena and character names: entries 0 and 1 are the arenas, 2 + c is character c.
constexpr int NAME_COUNT = 6;
constexpr int NAME_SIZE = 32; // characters per entry
constexpr int CHARACTER_COUNT = 4;

extern const char NAME_TABLE[NAME_COUNT][NAME_SIZE];

// An index outside the table gives the first entry of its kind.
const char *ArenaName(int arena);
const char *CharacterName(int character);

#endif
