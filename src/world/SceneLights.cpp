#include "world/SceneLights.h"

#include <plib/ssg.h>

namespace {

void SetColours(ssgLight *light, float ambient, float diffuse) {
	light->setColour(GL_AMBIENT, ambient, ambient, ambient);
	light->setColour(GL_DIFFUSE, diffuse, diffuse, diffuse);
}

} // namespace

void PutOutLights() {
	for (int i = 0; i < 8; i++) {
		ssgGetLight(i)->setID(i);
		ssgGetLight(i)->off();
	}
}

void SetUpArenaLights(bool night, bool nightFill) {
	PutOutLights();
	ssgLight *sun = ssgGetLight(0);
	if (night) {
		sun->setPosition(0, 0, 50);
		sun->setSpotlight(TRUE); // w = 1: a point light over the field
		sun->setSpotDirection(0, 0, -1);
		sun->setSpotDiffusion(0.0f, 54.0f);
		SetColours(sun, 0.2f, 0.4f);
	} else {
		sun->setPosition(0, 0, 1000);
		sun->setSpotlight(FALSE); // w = 0: light from straight above
		SetColours(sun, 0.5f, 0.6f);
	}
	sun->on();

	ssgLight *fill = ssgGetLight(5);
	fill->setPosition(100, -70, -80);
	fill->setSpotlight(TRUE);
	fill->setSpotDiffusion(0.0f, 180.0f);
	fill->setSpotAttenuation(0.0f, 0.018f, 0.0f);
	SetColours(fill, 0.7f, nightFill ? 0.5f : 0.4f);
	fill->on();
}
