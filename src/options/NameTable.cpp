#include "options/NameTable.h"

const char NAME_TABLE[NAME_COUNT][NAME_SIZE] = {"xeno", "tris", "hippy", "johnny", "babe", "webby"};

const char *ArenaName(int arena) {
	return NAME_TABLE[arena == 1 ? 1 : 0];
}

const char *CharacterName(int character) {
	return NAME_TABLE[2 + (character >= 0 && character < CHARACTER_COUNT ? character : 0)];
}
