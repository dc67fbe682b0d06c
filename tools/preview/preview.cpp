// Renders the generated models and arenas into PNG pictures for a look at the style:
//   tavro_preview <dir holding data/> <output dir>     (needs a display; run under xvfb-run)
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int W = 640, H = 480;

void Save(const std::string &out) {
	std::vector<unsigned char> px(W * H * 3);
	glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, px.data());
	std::string ppm = out + ".ppm";
	FILE *f = std::fopen(ppm.c_str(), "wb");
	std::fprintf(f, "P6\n%d %d\n255\n", W, H);
	for (int y = H - 1; y >= 0; y--)
		std::fwrite(&px[y * W * 3], 1, W * 3, f);
	std::fclose(f);
	std::string cmd = "convert '" + ppm + "' '" + out + ".png' && rm '" + ppm + "'";
	if (std::system(cmd.c_str()) != 0)
		std::fprintf(stderr, "convert failed for %s\n", out.c_str());
}

ssgEntity *Load(const char *dir, const char *file) {
	ssgModelPath(dir);
	ssgTexturePath(dir);
	ssgEntity *e = ssgLoad(file);
	if (!e) {
		std::fprintf(stderr, "cannot load %s/%s\n", dir, file);
		std::exit(1);
	}
	ssgFlatten(e);
	ssgStripify(e);
	return e;
}

void Unlit(ssgEntity *e) {
	if (e->isAKindOf(ssgTypeLeaf())) {
		ssgState *s = ((ssgLeaf *)e)->getState();
		if (s && s->isAKindOf(ssgTypeSimpleState()))
			((ssgSimpleState *)s)->disable(GL_LIGHTING);
	} else if (e->isAKindOf(ssgTypeBranch())) {
		ssgBranch *b = (ssgBranch *)e;
		for (int i = 0; i < b->getNumKids(); i++)
			Unlit(b->getKid(i));
	}
}

void Blend(ssgEntity *e) {
	if (e->isAKindOf(ssgTypeLeaf())) {
		ssgState *s = ((ssgLeaf *)e)->getState();
		if (s && s->isAKindOf(ssgTypeSimpleState())) {
			ssgSimpleState *ss = (ssgSimpleState *)s;
			ss->enable(GL_BLEND);
			ss->enable(GL_ALPHA_TEST);
			ss->setAlphaClamp(0);
			ss->setTranslucent();
			ss->disable(GL_CULL_FACE);
		}
	} else if (e->isAKindOf(ssgTypeBranch())) {
		ssgBranch *b = (ssgBranch *)e;
		for (int i = 0; i < b->getNumKids(); i++)
			Blend(b->getKid(i));
	}
}

ssgTransform *Place(ssgBranch *root, ssgEntity *e, float x, float y, float z) {
	ssgTransform *t = new ssgTransform;
	sgCoord c;
	sgSetCoord(&c, x, y, z, 0, 0, 0);
	t->setTransform(&c);
	t->addKid(e);
	root->addKid(t);
	return t;
}

void Lights(bool night) {
	for (int i = 0; i < 8; i++)
		ssgGetLight(i)->off();
	ssgLight *l0 = ssgGetLight(0);
	if (night) {
		l0->setPosition(0, 0, 50);
		l0->setSpotlight(1);
		l0->setSpotDirection(0, 0, -1);
		l0->setSpotDiffusion(0, 54);
		l0->setColour(GL_AMBIENT, 0.2f, 0.2f, 0.2f);
		l0->setColour(GL_DIFFUSE, 0.4f, 0.4f, 0.4f);
	} else {
		l0->setPosition(0, 0, 1000);
		l0->setSpotlight(0);
		l0->setSpotDiffusion(0, 180);
		glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180);
		l0->setColour(GL_AMBIENT, 0.5f, 0.5f, 0.5f);
		l0->setColour(GL_DIFFUSE, 0.6f, 0.6f, 0.6f);
	}
	l0->on();
	ssgLight *l5 = ssgGetLight(5);
	l5->setPosition(100, -70, -80);
	l5->setSpotlight(1);
	l5->setSpotDiffusion(0, 180);
	l5->setSpotAttenuation(0, 0.018f, 0);
	l5->setColour(GL_AMBIENT, 0.7f, 0.7f, 0.7f);
	l5->setColour(GL_DIFFUSE, 0.4f, 0.4f, 0.4f);
	l5->on();
	if (night) {
		const float pos[4][2] = {{-80, 60}, {-80, -60}, {80, -60}, {80, 60}};
		for (int i = 0; i < 4; i++) {
			ssgLight *l = ssgGetLight(i + 1);
			l->setPosition(pos[i][0], pos[i][1], 20);
			l->setSpotlight(1);
			l->setSpotDiffusion(0, 180);
			l->setSpotAttenuation(0, 0.025f, 0);
			l->setColour(GL_AMBIENT, 0.1f, 0.1f, 0.1f);
			l->setColour(GL_DIFFUSE, 0.6f, 0.6f, 0.6f);
			l->on();
		}
	}
}

void Draw(ssgRoot *root, float ex, float ey, float ez, float lx, float ly, float lz, float r, float g, float b) {
	sgVec3 eye = {ex, ey, ez}, at = {lx, ly, lz}, up = {0, 0, 1};
	ssgGetCurrentContext()->setCameraLookAt(eye, at, up);
	glViewport(0, 0, W, H);
	glClearColor(r, g, b, 1);
	glEnable(GL_DEPTH_TEST);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	ssgCullAndDraw(root);
}

void Arena(const std::string &name, bool night, const std::string &out) {
	ssgRoot *root = new ssgRoot;
	ssgBranch *arena = Place(root, Load("data/arena", (name + "_field.3ds").c_str()), 0, 0, -2);
	ssgEntity *tod = Load("data/arena", (name + (night ? "_night.3ds" : "_day.3ds")).c_str());
	Unlit(tod);
	arena->addKid(tod);
	ssgEntity *ball = Load("data/misc", "ball.3ds");
	Place(root, ball, 5, 8, 0);
	const char *faces[2] = {"data/misc/hippy256_disc.bmp", "data/misc/webby256_disc.bmp"};
	for (int i = 0; i < 2; i++) {
		ssgEntity *disc = Load("data/misc", "disc.3ds");
		ssgBranch *b = (ssgBranch *)disc;
		((ssgSimpleState *)((ssgLeaf *)b->getKid(1))->getState())->setTexture(faces[i], TRUE, TRUE, TRUE);
		ssgSimpleState *body = (ssgSimpleState *)((ssgLeaf *)b->getKid(0))->getState();
		body->setMaterial(GL_AMBIENT, i == 0 ? 0.949f : 0.676f, i == 0 ? 0.91f : 0.657f, i == 0 ? 0.093f : 0.401f, 1);
		body->setMaterial(GL_DIFFUSE, i == 0 ? 0.855f : 0.68f, i == 0 ? 0.871f : 0.692f, i == 0 ? 0.25f : 0.47f, 1);
		Place(root, disc, i == 0 ? -35 : 35, 0, 0);
		if (!night) {
			ssgEntity *sh = Load("data/misc", "shadow_disc.3ds");
			Unlit(sh);
			Blend(sh);
			Place(root, sh, (i == 0 ? -35 : 35) - 0.1f, -0.9f, -1.5f);
		}
	}
	if (night) {
		const float pos[4][2] = {{-80, 60}, {-80, -60}, {80, -60}, {80, 60}};
		for (auto &p : pos)
			Place(root, Load("data/misc", "torch.3ds"), p[0], p[1], -7);
	}
	ssgEntity *line = Load("data/misc", "line.3ds");
	Unlit(line);
	Blend(line);
	ssgTransform *lt = Place(root, line, -35 + 20, 12, 0.1f);
	sgCoord c;
	sgSetCoord(&c, -15, 12, 0.1f, 121, 0, 0);
	lt->setTransform(&c);
	float r = night ? 0.12f : 0.45f, g = night ? 0.13f : 0.6f, b = night ? 0.3f : 0.85f;
	Lights(night);
	Draw(root, 0, -75, 60, 0, 0, 0, r, g, b);
	Save(out + "_" + name + (night ? "_night" : "_day") + "_main");
	Draw(root, 0, 0, 135, 0, 0.1f, 0, r, g, b);
	Save(out + "_" + name + (night ? "_night" : "_day") + "_top");
	Draw(root, 100, -120, 20, 91, -95, 0, r, g, b);
	Save(out + "_" + name + (night ? "_night" : "_day") + "_far");
	Draw(root, -150, -190, 110, 0, 0, -10, r, g, b);
	Save(out + "_" + name + (night ? "_night" : "_day") + "_overview");
	delete root;
}

void Models(const std::string &out) {
	const char *names[] = {"ball.3ds", "disc.3ds", "torch.3ds", "cloud.3ds", "sun.3ds", "moon.3ds", "star.3ds",
		"line.3ds", "shadow_disc.3ds"};
	const float scale[] = {3, 2, 0.35f, 1, 1.3f, 1.4f, 6, 4, 1.2f};
	ssgRoot *root = new ssgRoot;
	for (int i = 0; i < 9; i++) {
		ssgEntity *e = Load("data/misc", names[i]);
		if (i >= 3) {
			Unlit(e);
			Blend(e);
		}
		float x = -12 + (i % 3) * 12, z = 10 - (i / 3) * 10;
		ssgTransform *t = Place(root, e, x, 0, z);
		sgCoord c;
		sgSetCoord(&c, x, 0, z - (i == 2 ? 3.5f : 0), 0, i == 1 ? 60.0f : (i >= 7 ? 80.0f : 0), 0);
		t->setTransform(&c, scale[i], scale[i], scale[i]);
	}
	Lights(false);
	Draw(root, 0, -40, 2, 0, 0, 0, 0.45f, 0.6f, 0.85f);
	Save(out + "_models");
	delete root;
}

} // namespace

int main(int argc, char **argv) {
	if (argc < 3) {
		std::fprintf(stderr, "usage: %s <dir holding data/> <output prefix>\n", argv[0]);
		return 2;
	}
	std::string out = argv[2];
	if (out[0] != '/') {
		char cwd[4096];
		out = std::string(getcwd(cwd, sizeof(cwd))) + "/" + out;
	}
	if (chdir(argv[1]) != 0)
		return 1;
	SDL_Init(SDL_INIT_VIDEO);
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	if (!SDL_SetVideoMode(W, H, 0, SDL_OPENGL))
		return 1;
	ssgInit();
	ssgSetFOV(60, 0);
	ssgSetNearFar(1, 2000);
	Models(out);
	for (const char *a : {"xeno", "tris"})
		for (bool night : {false, true})
			Arena(a, night, out);
	SDL_Quit();
	return 0;
}
