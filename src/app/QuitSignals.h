#ifndef TAVRO_APP_QUITSIGNALS_H
#define TAVRO_APP_QUITSIGNALS_H

// While SDL is up it turns SIGINT and SIGTERM into a quit request; SDL_Quit puts the default
// handlers back, which would end the process before the log is closed. From SDL_Quit until the
// log is closed the game keeps its own: the request is only noted, since the game is leaving
// anyway. A signal someone chose to ignore stays ignored.
void HoldQuitSignals();
// Whether a request came while they were held.
bool QuitSignalCameLate();
// The handlers as they were before HoldQuitSignals, once the log is closed.
void ReleaseQuitSignals();

#endif
