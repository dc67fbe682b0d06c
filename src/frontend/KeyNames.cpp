#include "frontend/KeyNames.h"

#include <SDL/SDL_keysym.h>

namespace {

struct NamedKey {
	int code;
	const char *name;
};

// clang-format off
const NamedKey NAMED_KEYS[] = {
	{SDLK_SPACE, "SPACE"},         {SDLK_DELETE, "DELETE"},       {SDLK_KP0, "KEYPAD 0"},
	{SDLK_KP1, "KEYPAD 1"},        {SDLK_KP2, "KEYPAD 2"},        {SDLK_KP3, "KEYPAD 3"},
	{SDLK_KP4, "KEYPAD 4"},        {SDLK_KP5, "KEYPAD 5"},        {SDLK_KP6, "KEYPAD 6"},
	{SDLK_KP7, "KEYPAD 7"},        {SDLK_KP8, "KEYPAD 8"},        {SDLK_KP9, "KEYPAD 9"},
	{SDLK_UP, "ARROW UP"},         {SDLK_DOWN, "ARROW DOWN"},     {SDLK_RIGHT, "ARROW RIGHT"},
	{SDLK_LEFT, "ARROW LEFT"},     {SDLK_RSHIFT, "RIGHT SHIFT"},  {SDLK_LSHIFT, "LEFT SHIFT"},
	{SDLK_RCTRL, "RIGHT CTRL"},    {SDLK_LCTRL, "LEFT CTRL"},     {SDLK_RALT, "RIGHT ALT"},
	{SDLK_LALT, "LEFT ALT"},
};
// clang-format on

} // namespace

const char *KeyName(int code) {
	for (const NamedKey &key : NAMED_KEYS) {
		if (key.code == code) {
			return key.name;
		}
	}
	return nullptr;
}
