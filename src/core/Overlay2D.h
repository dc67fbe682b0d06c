#ifndef TAVRO_CORE_OVERLAY2D_H
#define TAVRO_CORE_OVERLAY2D_H

// The 2D overlay in which all 2D drawing happens: pixel coordinates, origin at the
// top left, y growing downwards. Begin2D saves the GL state that End2D restores.
void Begin2D(int width, int height);
void End2D();

// Thin seams over SDL so callers need not include it.
void SwapBuffers();
void PumpEvents();
void EnableUnicode();

#endif
