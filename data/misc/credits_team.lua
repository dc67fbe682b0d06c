CreditsPage("MADE BY", {
	"The Tavro team",
	"",
	"Code, models, pictures, sounds",
	"and music are our own work",
})
