#include "core/DisplayErrors.h"

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>

#include "core/LogFile.h"

namespace {

int s_failedRequests = 0;

int OnError(Display *display, XErrorEvent *error) {
	char text[96];
	XGetErrorText(display, error->error_code, text, sizeof(text));
	Log(LOG_ERROR, "MAIN: X request %d.%d failed: %s", error->request_code, error->minor_code, text);
	s_failedRequests++;
	return 0;
}

int OnLostDisplay(Display *) {
	Log(LOG_ERROR, "MAIN: The connection to the display is lost");
	if (g_log) {
		g_log->Close();
	}
	return 0; // Xlib ends the process when this returns
}

Display *CurrentDisplay() {
	SDL_SysWMinfo info;
	SDL_VERSION(&info.version);
	if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) {
		return nullptr;
	}
	return info.info.x11.display;
}

} // namespace

void InstallDisplayErrorHandlers() {
	XSetErrorHandler(OnError);
	XSetIOErrorHandler(OnLostDisplay);
}

int TakeDisplayErrors() {
	if (Display *display = CurrentDisplay()) {
		XSync(display, False);
	}
	int count = s_failedRequests;
	s_failedRequests = 0;
	return count;
}
