#ifndef TAVRO_FRONTEND_KEYNAMES_H
#define TAVRO_FRONTEND_KEYNAMES_H

// The name a key screen shows for an SDL key code, or null when the key has none (its label
// then shows the character it typed).
const char *KeyName(int code);

#endif
