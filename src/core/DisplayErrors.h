#ifndef TAVRO_CORE_DISPLAYERRORS_H
#define TAVRO_CORE_DISPLAYERRORS_H

// Xlib's own handlers end the process on any X error, before the log is closed. These log the
// error instead: a failed request is counted and play goes on; a lost display closes the log
// before Xlib ends the process.
void InstallDisplayErrorHandlers();

// Sends what is queued to the display, waits for its answers and returns the number of failed
// requests since the last call.
int TakeDisplayErrors();

#endif
