CreditsPage("TAVRO", {
	"A game for one or two players",
	"at one machine",
})
