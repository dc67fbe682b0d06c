CreditsPage("THANK YOU", {
	"for playing Tavro",
})
