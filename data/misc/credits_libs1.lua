CreditsPage("BUILT ON", {
	"SDL 1.2 - GNU LGPL 2.1",
	"SDL_ttf and SDL_mixer - zlib licence",
	"libmikmod - GNU LGPL 2",
	"PLIB - GNU LGPL 2",
	"ODE - BSD licence or GNU LGPL 2.1",
})
