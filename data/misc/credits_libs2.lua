CreditsPage("AND ON", {
	"Lua 5.1 - MIT licence",
	"tolua++ - MIT licence",
	"Mesa - MIT licence",
	"Fontconfig - MIT licence",
	"GoogleTest - BSD licence",
})
