#include "core/Overlay2D.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

void Begin2D(int width, int height) {
	// The colour-buffer group too: 2D pictures set their own blending, which must not leak
	// into the 3D scene drawn next.
	glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_VIEWPORT_BIT | GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT);
	glDisable(GL_LIGHTING);
	glEnable(GL_TEXTURE_2D);
	glDisable(GL_DEPTH_TEST);
	glDisable(GL_CULL_FACE);
	glDisable(GL_FOG);
	glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
	glMatrixMode(GL_PROJECTION);
	glPushMatrix();
	glLoadIdentity();
	glOrtho(0, width, height, 0, -1, 1);
	glMatrixMode(GL_MODELVIEW);
	glPushMatrix();
	glLoadIdentity();
}

void End2D() {
	glMatrixMode(GL_PROJECTION);
	glPopMatrix();
	glMatrixMode(GL_MODELVIEW);
	glPopMatrix();
	glPopAttrib();
	glEnable(GL_DEPTH_TEST);
}

void SwapBuffers() {
	SDL_GL_SwapBuffers();
}

void PumpEvents() {
	SDL_PumpEvents();
}

void EnableUnicode() {
	SDL_EnableUNICODE(1);
}
