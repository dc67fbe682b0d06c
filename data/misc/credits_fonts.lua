CreditsPage("LETTERS", {
	"DejaVu fonts",
	"Bitstream Vera licence",
	"",
	"Our data generator uses",
	"lib3ds - GNU LGPL 2.1",
	"libsndfile - GNU LGPL 2.1",
})
