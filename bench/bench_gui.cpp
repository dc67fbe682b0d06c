// A screen of 40 widgets built by a script from the game's data tree, fed 1000 mixed input
// events through the input library and drawn 1000 times at 800 x 600. Reports the time per
// frame and per event, the heap allocations per frame with no scripted events, the cost of
// one event-script run (open a state, register the surface, run, close; the best and the median
// of 9 batches, in time and in the thread's processor time, as other programs share the
// machine), and the time to build and to close a screen of 10,000 buttons. Run under Xvfb.

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "gui/WgItem.h"
#include "gui/WgScriptRunner.h"
#include "input/NoxInput.h"
#include "script/LuaScriptRunner.h"
#include "script/ScriptFiles.h"
#include "script/ScriptScreen.h"

#include "HeapCounter.h"

namespace {

const int WIDTH = 800;
const int HEIGHT = 600;
const int EVENTS = 1000;
const int FRAMES = 1000;
const int WARM_UP = 100;     // frames not measured: the GL driver builds its state variants then
const int SCRIPT_RUNS = 200; // per batch
const int SCRIPT_BATCHES = 9;
const int MANY_WIDGETS = 10000;
const int FRAME_TIME = 16; // ms handed to the widgets

// 40 widgets: 2 windows, 10 buttons, 6 check boxes, 6 edit boxes, 4 list boxes, 12 labels.
const char *const SCREEN = R"(
local white = GL2D_Color:new()
white.r, white.g, white.b, white.a = 1, 1, 1, 1
local menu = pCacheManager:GetFont("data/fonts/menu.nbf", white)
local focus = pCacheManager:GetFont("data/fonts/menu_focus.nbf", white)
local small = pCacheManager:GetFont("data/fonts/arial_green.ntf", white)
local function Text(label, font)
	label:SetFont(GI_ISTATE_DEFAULT, font or menu)
	label:SetFont(GI_ISTATE_FOCUSED, focus)
	label:SetAlign(VALIGN_MIDDLE, HALIGN_MIDDLE)
end
local function Add(item, x, y, w, h, parent)
	item:SetCoords(x, y)
	item:SetDim(w, h)
	return pManager:AddItem(item, parent)
end
for side = 0, 1 do
	local window = WgWindow_GL2D:new("window" .. side)
	window:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
	window:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window_focus.nbr"))
	local inside = Add(window, 10 + side * 395, 10, 385, 580)
	for i = 0, 4 do
		local button = WgButton_GL2D:new("button" .. side .. i)
		button:SetLabel("Button " .. i)
		button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
		button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
		button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
		Text(button:GetLabel())
		Add(button, 20, 20 + i * 50, 160, 40, inside)
	end
	for i = 0, 2 do
		local check = WgCheckBox_GL2D:new("check" .. side .. i)
		check:SetBorder(CB_ISTATE_DEFAULT_NO, pCacheManager:GetSimpleRect("data/rects/check_no.nsbr"))
		check:SetBorder(CB_ISTATE_DEFAULT_YES, pCacheManager:GetSimpleRect("data/rects/check_yes.nsbr"))
		check:SetBorder(CB_ISTATE_FOCUSED_NO, pCacheManager:GetSimpleRect("data/rects/check_no_focus.nsbr"))
		check:SetBorder(CB_ISTATE_FOCUSED_YES, pCacheManager:GetSimpleRect("data/rects/check_yes_focus.nsbr"))
		Add(check, 200, 27 + i * 50, 26, 26, inside)
		local edit = WgEditBox_GL2D:new("edit" .. side .. i)
		edit:SetContent("Text " .. i)
		edit:SetCursor("data/rects/caret.nsbr")
		local text = edit:GetLabel()
		Text(text, small)
		text:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/editbox.nbr"))
		text:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/editbox_focus.nbr"))
		Add(edit, 240, 20 + i * 50, 130, 40, inside)
	end
	for i = 0, 1 do
		local list = WgListBox_GL2D:new("list" .. side .. i)
		list:SetMargins(6, 6, 6, 6)
		list:SetRowHeight(22)
		list:SetRowsPerPage(4)
		list:SetFont(small, small)
		list:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/listbox.nbr"))
		list:GetButtonUp():SetDim(30, 0)
		for entry = 1, 8 do list:AppendEntry("Entry " .. entry) end
		Add(list, 20 + i * 180, 280, 170, 0, inside)
	end
	for i = 0, 5 do
		local label = WgLabel_GL2D:new("label" .. side .. i)
		label:SetCaption("Label " .. i .. "\nsecond line")
		Text(label)
		Add(label, 20 + (i % 2) * 180, 400 + math.floor(i / 2) * 55, 170, 50, inside)
	end
end
)";

// Buttons as the menus make theirs, each with a label, its looks and a focus script.
const char *const MANY = R"(
local white = GL2D_Color:new()
white.r, white.g, white.b, white.a = 1, 1, 1, 1
local menu = pCacheManager:GetFont("data/fonts/menu.nbf", white)
local frame = pCacheManager:GetRect("data/rects/button.nbr")
for i = 0, 9999 do
	local button = WgButton_GL2D:new("button" .. i)
	button:SetCoords(i % 100 * 8, math.floor(i / 100) * 6)
	button:SetDim(8, 6)
	button:SetLabel("B")
	button:SetBorder(GI_ISTATE_DEFAULT, frame)
	button:GetLabel():SetFont(GI_ISTATE_DEFAULT, menu)
	pManager:AddItem(button)
end
)";

// Processor time of this thread, in ms: a figure that other programs on the machine disturb less.
double ThreadMs() {
	timespec now;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

double Since(std::chrono::steady_clock::time_point start) {
	return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void PushEvent(std::mt19937 &random) {
	static const SDLKey keys[] = {SDLK_TAB, SDLK_RETURN, SDLK_BACKSPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN,
		SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_a, SDLK_e, SDLK_SPACE};
	SDL_Event event = {};
	const Uint16 x = static_cast<Uint16>(random() % WIDTH), y = static_cast<Uint16>(random() % HEIGHT);
	switch (random() % 4) {
	case 0: {
		const SDLKey key = keys[random() % (sizeof(keys) / sizeof(keys[0]))];
		event.type = SDL_KEYDOWN;
		event.key.keysym.sym = key;
		event.key.keysym.unicode = key < 128 ? key : 0;
		break;
	}
	case 1:
		event.type = SDL_MOUSEMOTION;
		event.motion.x = x;
		event.motion.y = y;
		break;
	default:
		event.type = random() % 2 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
		event.button.button = SDL_BUTTON_LEFT;
		event.button.x = x;
		event.button.y = y;
		break;
	}
	SDL_PushEvent(&event);
}

} // namespace

int main() {
	if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(WIDTH, HEIGHT, 32, SDL_OPENGL)) {
		fprintf(stderr, "no window: %s\n", SDL_GetError());
		return 1;
	}
	// The game names its files relative to the folder that holds data/.
	if (chdir(TAVRO_DATA_PARENT) != 0) {
		fprintf(stderr, "no data tree in %s\n", TAVRO_DATA_PARENT);
		return 1;
	}
	LogFile log;
	log.Open("/tmp/bench_gui_log.txt", "bench_gui");
	g_log = &log;
	LuaScriptRunner runner;
	g_scriptRunner = &runner;
	// Its scripts lie in /tmp, as a script tried out with --script may name files beside it.
	ScriptFiles::AllowFolder("/tmp");
	NoxInput input;
	input.Init();
	input.EnableKeyboard(0, true);
	input.EnableMouse(0, true);
	input.SetInputMode(NI_MODE_EVENTS);

	int status = 0;
	{
		ScriptScreen screen;
		if (FILE *file = fopen("/tmp/bench_gui_screen.lua", "w")) {
			fputs(SCREEN, file);
			fclose(file);
		}
		const auto built = std::chrono::steady_clock::now();
		if (!screen.Build(WIDTH, HEIGHT) || !screen.RunScript("/tmp/bench_gui_screen.lua")) {
			fprintf(stderr, "the screen script failed; see /tmp/bench_gui_log.txt\n");
			return 1;
		}
		const double buildMs = Since(built);
		std::mt19937 random(7);
		double eventMs = 0, drawMs = 0, finishMs = 0;
		long frameAllocations = 0, frameNew = 0, eventAllocations = 0, eventNew = 0;
		for (int frame = 0; frame < WARM_UP + FRAMES; frame++) {
			if (frame == WARM_UP) {
				eventMs = drawMs = finishMs = 0;
				frameAllocations = frameNew = eventAllocations = eventNew = 0;
			}
			PushEvent(random);
			long before = allocations, beforeNew = newAllocations;
			auto start = std::chrono::steady_clock::now();
			counting = true;
			while (input.HasEvent()) {
				NI_Event *event = input.GetEvent();
				screen.HandleEvent(event);
				input.FreeEvent(event);
			}
			counting = false;
			eventMs += Since(start);
			eventAllocations += allocations - before;
			eventNew += newAllocations - beforeNew;

			glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
			glClear(GL_COLOR_BUFFER_BIT);
			Begin2D(WIDTH, HEIGHT);
			before = allocations;
			beforeNew = newAllocations;
			start = std::chrono::steady_clock::now();
			counting = true;
			screen.DrawWidgets(FRAME_TIME);
			screen.DrawCursor(FRAME_TIME);
			counting = false;
			drawMs += Since(start);
			frameAllocations += allocations - before;
			frameNew += newAllocations - beforeNew;
			End2D();
			start = std::chrono::steady_clock::now();
			glFinish(); // the rasteriser's time, not the toolkit's
			finishMs += Since(start);
			SDL_GL_SwapBuffers();
		}

		if (FILE *file = fopen("/tmp/bench_gui_event.lua", "w")) {
			fputs("Me:SetCaption('clicked')\n", file);
			fclose(file);
		}
		WgItem *item = screen.Find(WG_TYPE_BUTTON, "button00");
		std::vector<double> batches, processor;
		for (int batch = 0; batch < SCRIPT_BATCHES && item; batch++) {
			const auto start = std::chrono::steady_clock::now();
			const double startMs = ThreadMs();
			for (int run = 0; run < SCRIPT_RUNS; run++) {
				runner.RunEventScript(item, "/tmp/bench_gui_event.lua");
			}
			batches.push_back(Since(start) / SCRIPT_RUNS);
			processor.push_back((ThreadMs() - startMs) / SCRIPT_RUNS);
		}
		std::sort(batches.begin(), batches.end());
		std::sort(processor.begin(), processor.end());
		if (!item || item->GetCaption() != "clicked\n") {
			fprintf(stderr, "the event script did not run\n");
			status = 1;
		}

		printf("40 widgets from a script, %dx%d, %d frames with one input event each (no scripted events),\n"
			   "measured after %d frames to warm up\n",
			WIDTH, HEIGHT, FRAMES, WARM_UP);
		printf("%-36s %8.3f ms\n", "building the screen (script)", buildMs);
		printf("%-36s %8.3f ms, %6.2f heap allocations (%.2f by new)\n", "drawing, per frame", drawMs / FRAMES,
			double(frameAllocations) / FRAMES, double(frameNew) / FRAMES);
		printf("%-36s %8.3f ms, %6.2f heap allocations (%.2f by new)\n", "input event, each", eventMs / FRAMES,
			double(eventAllocations) / FRAMES, double(eventNew) / FRAMES);
		printf("%-36s %8.3f ms\n", "glFinish (rasterising), per frame", finishMs / FRAMES);
		if (!batches.empty()) {
			printf("%-36s %8.3f ms best, %.3f ms median\n", "one event-script run", batches.front(),
				batches[batches.size() / 2]);
			printf("%-36s %8.3f ms best, %.3f ms median\n", "  its processor time", processor.front(),
				processor[processor.size() / 2]);
		}
	}
	{
		ScriptScreen screen;
		if (FILE *file = fopen("/tmp/bench_gui_many.lua", "w")) {
			fputs(MANY, file);
			fclose(file);
		}
		auto start = std::chrono::steady_clock::now();
		double startMs = ThreadMs();
		if (!screen.Build(WIDTH, HEIGHT) || !screen.RunScript("/tmp/bench_gui_many.lua") ||
			!screen.Find(WG_TYPE_BUTTON, "button9999")) {
			fprintf(stderr, "the screen of %d buttons failed; see /tmp/bench_gui_log.txt\n", MANY_WIDGETS);
			status = 1;
		}
		const double buildMs = Since(start), buildProcessorMs = ThreadMs() - startMs;
		start = std::chrono::steady_clock::now();
		startMs = ThreadMs();
		screen.TearDown();
		const double closeMs = Since(start), closeProcessorMs = ThreadMs() - startMs;
		printf(
			"%-36s %8.3f ms, processor time %.3f ms\n", "building 10,000 buttons (script)", buildMs, buildProcessorMs);
		printf(
			"%-36s %8.3f ms, processor time %.3f ms\n", "closing them (screen torn down)", closeMs, closeProcessorMs);
	}
	unlink("/tmp/bench_gui_screen.lua");
	unlink("/tmp/bench_gui_event.lua");
	unlink("/tmp/bench_gui_many.lua");
	g_scriptRunner = nullptr;
	g_log = nullptr;
	SDL_Quit();
	return status;
}
