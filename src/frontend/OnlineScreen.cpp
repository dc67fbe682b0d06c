#include "frontend/OnlineScreen.h"

#include <SDL/SDL_keysym.h>

#include <cstdio>
#include <cstring>

#include "core/LogFile.h"
#include "frontend/MenuState.h"
#include "gl2d/GL2D_Font.h"
#include "gui/WgEditBox.h"
#include "gui/WgItem.h"
#include "gui/WgLabel_GL2D.h"
#include "gui/WgListBox.h"
#include "gui/WgManager.h"
#include "match/MenuKit.h"
#include "net/NetAddress.h"
#include "options/OptionsRecord.h"

const char *const OnlineScreen::SCRIPT = "data/menu_online.lua";
const char *const OnlineScreen::IDLE_TEXT =
	"Host a match, or join one by its address or from the games on this network";

namespace {

OnlineScreen &Of(void *screen) {
	return *static_cast<OnlineScreen *>(static_cast<MenuScreen *>(screen)); // hooked with the base's this
}

const int NOTE_LINES = 3;

} // namespace

OnlineScreen::OnlineScreen(MenuState &menu_, NetPlay &net_)
	: MenuScreen(menu_), net(net_), browser(net_.GetClock()), address(nullptr), games(nullptr), status(nullptr),
	  lastState(NET_SESSION_IDLE), hostedPort(0), note(), listed(), joinAt(), listedCount(0) {}

OnlineScreen::~OnlineScreen() {
	browser.Stop();
}

bool OnlineScreen::Build() {
	const bool ran = RunScript(SCRIPT);
	HookButton("btn_host", OnHost);
	HookButton("btn_join", OnJoin);
	HookButton("btn_back", OnBack);
	address = dynamic_cast<WgEditBox *>(FindMenuWidget(screen, SCRIPT, WG_TYPE_EDITBOX, "edt_address"));
	games = dynamic_cast<WgListBox *>(FindMenuWidget(screen, SCRIPT, WG_TYPE_LISTBOX, "lst_games"));
	if (games) {
		games->SetCallback(GI_ON_ACTIVATE, OnGame, static_cast<MenuScreen *>(this));
	}
	status = dynamic_cast<WgLabel_GL2D *>(FindLabel("lbl_status"));
	if (screen.GetManager()) {
		screen.GetManager()->UnfocusAll();
	}
	const int discovery = net.GetConfig().discoveryPort;
	if (discovery > 0 && browser.Start(discovery)) {
		Log(LOG_MESSAGE, "NET: Looking for games on this network (port %d)", discovery);
	} else if (discovery > 0) {
		Log(LOG_WARNING, "NET: Cannot look for games on this network; a host's address can still be typed");
	}
	const NetSession *session = net.GetSession();
	lastState = session ? session->GetState() : NET_SESSION_IDLE;
	switch (net.TakeStartRequest()) {
	case NetPlay::START_HOST: Host(net.GetStartPort()); break;
	case NetPlay::START_JOIN: Join(net.GetStartAddress()); break;
	default: break;
	}
	ShowNote();
	return ran;
}

void OnlineScreen::OnHost(WgItem *, void *screen) {
	Of(screen).Host(NET_DEFAULT_PORT);
}

void OnlineScreen::OnJoin(WgItem *, void *screen) {
	OnlineScreen &online = Of(screen);
	online.Join(online.address ? online.address->GetContent() : "");
}

void OnlineScreen::OnGame(WgItem *, void *screen) {
	OnlineScreen &online = Of(screen);
	const int index = online.games ? online.games->GetCurrentPos() : -1;
	if (index >= 0 && index < online.listedCount) {
		online.Join(online.joinAt[index]);
	}
}

void OnlineScreen::OnBack(WgItem *, void *screen) {
	Of(screen).Back();
}

void OnlineScreen::Host(int port) {
	net.Host(g_options, port);
	const NetSession *session = net.GetSession();
	lastState = session ? session->GetState() : NET_SESSION_IDLE;
	hostedPort = session && session->GetState() == NET_SESSION_WAITING ? session->GetTransport().GetPort() : 0;
	ShowNote();
}

void OnlineScreen::Join(const char *where) {
	hostedPort = 0;
	if (address && where != address->GetContent()) {
		address->SetContent(where);
	}
	if (!where || !*where) {
		net.Drop("Type the name or address of the host first");
		lastState = NET_SESSION_IDLE;
		ShowNote();
		return;
	}
	Log(LOG_MESSAGE, "NET: Joining %s", where);
	net.Join(where, g_options);
	const NetSession *session = net.GetSession();
	lastState = session ? session->GetState() : NET_SESSION_IDLE;
	ShowNote();
}

void OnlineScreen::Back() {
	if (net.IsBusy()) {
		net.Leave();
	}
	browser.Stop();
	menu.RequestScreen(MenuState::SCREEN_MAIN);
}

void OnlineScreen::HandleEvent(const NI_Event *event) {
	const bool typing = address && address->IsEditing();
	if (!typing && IsKeyPress(event, SDLK_ESCAPE)) {
		Back();
		return;
	}
	PassOn(event);
}

void OnlineScreen::Update(int) {
	const NetSession *session = net.GetSession();
	const int state = session ? session->GetState() : NET_SESSION_IDLE;
	if (state == NET_SESSION_IN_MATCH && (lastState == NET_SESSION_WAITING || lastState == NET_SESSION_CONNECTING)) {
		Log(LOG_MESSAGE, "NET: The match begins");
		menu.Finish(STATE_MATCH);
	}
	lastState = state;
	if (browser.IsRunning()) {
		browser.Update();
		ListGames();
	}
	ShowNote();
}

void OnlineScreen::ListGames() {
	char entries[NetBrowser::MAX_HOSTS][ENTRY_SIZE];
	char where[NetBrowser::MAX_HOSTS][32];
	int count = 0;
	for (int i = 0; i < browser.GetCount(); i++) {
		const NetFoundHost &found = browser.Get(i);
		if (hostedPort && found.endpoint.port == hostedPort && strcmp(found.name, net.GetConfig().name) == 0) {
			continue; // the game this machine hosts
		}
		NetAddress::Format(found.endpoint, where[count], sizeof(where[count]));
		const bool same = found.protocol == NET_PROTOCOL_VERSION && strcmp(found.version, net.GetConfig().version) == 0;
		snprintf(entries[count], ENTRY_SIZE, same ? "%s  %s" : "%s  %s (version %s)", found.name, where[count],
			found.version);
		count++;
	}
	bool changed = count != listedCount;
	for (int i = 0; i < count && !changed; i++) {
		changed = strcmp(entries[i], listed[i]) != 0;
	}
	if (!changed) {
		return;
	}
	for (int i = 0; i < count; i++) {
		bool known = false;
		for (int j = 0; j < listedCount && !known; j++) {
			known = strcmp(where[i], joinAt[j]) == 0;
		}
		if (!known) {
			Log(LOG_MESSAGE, "NET: Found a game: %s", entries[i]);
		}
	}
	memcpy(listed, entries, sizeof(listed));
	memcpy(joinAt, where, sizeof(joinAt));
	listedCount = count;
	if (games) {
		const int current = games->GetCurrentPos();
		games->DeleteAll();
		for (int i = 0; i < count; i++) {
			games->AppendEntry(listed[i]);
		}
		games->SetCurrentPos(current < count ? current : 0);
	}
}

void OnlineScreen::ShowNote() {
	const char *shown = *net.GetStatusText() ? net.GetStatusText() : IDLE_TEXT;
	char wrapped[NetPlay::STATUS_SIZE];
	int w = 0, h = 0;
	if (status) {
		status->GetDim(&w, &h);
	}
	Wrap(shown, status ? status->GetFont(GI_ISTATE_DEFAULT) : nullptr, w, NOTE_LINES, wrapped, sizeof(wrapped));
	if (strcmp(wrapped, note) != 0) {
		snprintf(note, sizeof(note), "%s", wrapped);
		if (status) {
			status->SetCaption(note);
		}
	}
}

void OnlineScreen::Wrap(const char *text, const GL2D_Font *font, int width, int maxLines, char *out, int size) {
	out[0] = '\0';
	int used = 0;
	int lines = 0;
	char line[NetPlay::STATUS_SIZE] = "";
	const char *at = text;
	while (*at && lines < maxLines) {
		// The longest run of words from here that fits.
		int take = 0;
		int fit = 0;
		for (;;) {
			int end = take;
			while (at[end] == ' ') {
				end++;
			}
			while (at[end] && at[end] != ' ') {
				end++;
			}
			if (end == take || end >= static_cast<int>(sizeof(line))) {
				break;
			}
			memcpy(line, at, end);
			line[end] = '\0';
			if (fit > 0 && font && width > 0 && font->GetTextWidth(line) > width) {
				break;
			}
			fit = take = end;
		}
		if (fit == 0) {
			break;
		}
		used += snprintf(out + used, size - used, "%s%.*s", lines ? "\n" : "", fit, at);
		if (used >= size) {
			out[size - 1] = '\0';
			return;
		}
		lines++;
		at += fit;
		while (*at == ' ') {
			at++;
		}
	}
}

void OnlineScreen::DrawOverlay(int frameTime) {
	screen.DrawWidgets(frameTime);
	screen.DrawCursor(frameTime);
	menu.DrawLogo();
}
