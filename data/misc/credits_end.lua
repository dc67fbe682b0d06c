CreditsPage("THANK YOU", {
	"for playing Tavro",
	"",
	"Escape returns to the menu at any time",
})
