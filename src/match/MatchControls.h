#ifndef TAVRO_MATCH_MATCHCONTROLS_H
#define TAVRO_MATCH_MATCHCONTROLS_H

#include <cstdint>
#include <memory>

#include "world/ComputerPlayer.h"
#include "world/SearchClock.h"

class Aim;
class Arena;
class MatchWorld;
class Random;
struct NI_Joystick;
struct OptionsRecord;

// What the keyboard and the gamepads ask for during play, and who steers each side: a player's
// keys (and the gamepad of the player's number) or a computer player. Escape or a pad's start
// button asks for the in-game menu; the function keys pick the main view's camera, the small
// view, the frame-rate line and a screenshot.
class MatchControls {
public:
	static constexpr int KEY_STATES = 512;     // remembered key codes, more than SDL has
	static constexpr int PAD_DEAD_ZONE = 6554; // of a stick's 32767: about a fifth that moves nothing
	static constexpr int PAD_FIRE = 0;         // the first button fires
	static constexpr int PAD_START = 7;        // start, where the common pads have it

	MatchControls();

	// The computer players the options' mode asks for ("PL1 vs PC": side 2, "PC vs PC": both),
	// at the options' level unless SetLevel gave the side its own, each attacking the goal of
	// arena it must; their jitter draws from random. The options must outlive the controls' use.
	void SetUp(const OptionsRecord &options, const Arena &arena, Random &random);
	// A side's computer plays at level (ComputerLevel) in the matches set up from now on; -1
	// gives it the options' level again. Benchmarks and tests pit levels against each other.
	void SetLevel(int side, int level) { levels[side == 1 ? 0 : 1] = level; }
	// A side steered on another machine (a network match): neither keys, pads nor a computer
	// here move its aim.
	void SetRemote(int side, bool remote) { remotes[side == 1 ? 0 : 1] = remote; }
	// A player at this machine steers the side.
	bool IsSteeredHere(int side) const { return !GetComputer(side) && !remotes[side == 1 ? 0 : 1]; }
	// The clock the planning levels measure their search with (the system's by default); it
	// must outlive the matches set up with it.
	void SetSearchClock(SearchClock *clock) { searchClock = clock ? clock : &systemClock; }
	// A turn of side begins; the turn's time left, read before each frame's steering.
	void StartTurn(int side);
	void SetTurnLeft(int ms) { turnLeft = ms; }
	// The match's physics clock before each frame's steering: steps taken, ms since the last
	// collision pass, and ms it still runs this frame (see FieldView).
	void SetPhysicsClock(int step, int collisionWait, int lag) {
		physicsStep = step;
		physicsWait = collisionWait;
		physicsLag = lag;
	}
	void Release();
	// No key held before, no request, the ball camera and no small view.
	void Reset();

	// One play frame's key states (one byte per key code) and the players' pads (null where a
	// player has none): Escape or a start button, then the first function key pressed, then the
	// steering of the side whose turn it is. True when that side fires.
	bool Read(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], const MatchWorld &world,
		int activeSide, int frameTime);
	// The pad's start button: button 7, or on a pad with four to seven buttons its last; none on
	// smaller pads.
	static int StartButton(const NI_Joystick &pad);
	// Escape that closed the menu is still down: it asks for nothing until it is let go.
	void HoldEscapeOver(bool held) { escapeHeldOver = held; }
	void ClearMenuRequest() { menuRequested = false; }
	// Whether any key or pad button went down since the last frame (that skips a replay).
	bool AnyPressed(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2]);
	// True once, for the frame after F10.
	bool TakeScreenshotRequest();

	bool IsMenuRequested() const { return menuRequested; }
	int GetMainCamera() const { return mainCamera; }
	int GetMiniCamera() const { return miniCamera; }
	bool IsMiniViewShown() const { return miniViewShown; }
	bool IsFpsShown() const { return showFps; }
	// The computer player of a side, or null when a player's keys steer it.
	const ComputerPlayer *GetComputer(int side) const { return computers[side == 1 ? 0 : 1].get(); }

private:
	bool Pressed(const uint8_t *keys, int keyCount, int key) const;
	void ReadFunctionKeys(const uint8_t *keys, int keyCount);
	bool Steer(
		const uint8_t *keys, int keyCount, const NI_Joystick *pad, const MatchWorld &world, int side, int frameTime);
	// The stick or hat moves the aim as the keys do; true when the fire button went down.
	bool SteerWithPad(Aim &aim, const NI_Joystick &pad, int side);
	// Whether the pad's button went down since the last frame; remembers it.
	bool PadPressed(const NI_Joystick &pad, int button, bool &wasDown);

	const OptionsRecord *options;
	std::unique_ptr<ComputerPlayer> computers[2]; // by side
	int levels[2];                                // by side: ComputerLevel, -1 for the options'
	bool remotes[2];                              // by side
	SystemSearchClock systemClock;
	SearchClock *searchClock;
	int turnLeft; // ms of the running turn
	int physicsStep;
	int physicsWait;                  // ms
	int physicsLag;                   // ms
	uint8_t previousKeys[KEY_STATES]; // of the last play frame
	bool padFireDown[2];              // by side, at the last play frame
	bool padStartDown[2];
	bool menuRequested;
	bool escapeHeldOver;
	int mainCamera; // 0 to 3
	int miniCamera; // 4 to 7
	bool miniViewShown;
	bool showFps;
	bool screenshotRequested;
};

#endif
