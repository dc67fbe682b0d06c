#ifndef TAVRO_WORLD_SCENELIGHTS_H
#define TAVRO_WORLD_SCENELIGHTS_H

// The lights over an arena, shared by the match and the menu background: every light is
// numbered and put out, then light 0 (the sun from above by day, a spot over the field at
// night) and light 5 (a fill from below one corner) come on. The torches' lights 1 to 4 are
// the arena's own. nightFill gives the fill its brighter night colour.
void SetUpArenaLights(bool night, bool nightFill);

// Numbers every light and puts it out.
void PutOutLights();

#endif
