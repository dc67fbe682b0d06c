#ifndef TAVRO_WORLD_COMPUTERPLAYER_H
#define TAVRO_WORLD_COMPUTERPLAYER_H

#include <memory>

class Arena;
class Random;
class SearchClock;

// What a computer side sees of the field in a frame of its turn.
struct FieldView {
	float ball[2];          // units
	float own[2];           // units, the side's disc
	float other[2];         // units, the other side's disc
	float aim[2];           // units, the side's aim point
	float ballVelocity[2];  // units per second
	float ownVelocity[2];   // units per second
	float otherVelocity[2]; // units per second
	int dt;                 // ms, this frame
	int turnLeft;           // ms left of the turn
	// The match's physics clock: the steps it has taken up to where the bodies stand, the ms
	// since its last collision pass then, and the ms it still runs in this frame before a shot
	// fired now goes.
	int step;
	int collisionWait; // ms
	int physicsLag;    // ms
};

// Plays one side by answering, each frame of its turn, with the signals a player's keys give:
// it picks a target, works out the aim point that sends its disc there with a fitting strength,
// steers the aim point towards it and fires when the aim is good enough. Its jitter draws from
// random, which must outlive it. This is the "NORMAL" level; the other levels derive from it
// (EasyComputerPlayer, PlanningComputerPlayer) and MakeComputerPlayer makes the one a level asks for.
class ComputerPlayer {
public:
	// Result bits of Think. Fire never comes with a move bit.
	enum {
		THINK_UP = 1,
		THINK_DOWN = 2,
		THINK_RIGHT = 4,
		THINK_LEFT = 8,
		THINK_FIRE = 16
	};

	enum Mode {
		MODE_ATTACK = 0,
		MODE_BELOW_BALL = 1,
		MODE_OTHER_DISC = 2
	};

	static constexpr float DEFENCE_OFFSET = 5.0f; // units below the ball
	static constexpr float OTHER_DISC_RATIO = 3.0f;
	static constexpr float SIDE_OFFSET = 3.556f; // units, 0.8 × (ball + disc radius)
	static constexpr float MAX_STRENGTH = 60.0f; // units of aim length
	static constexpr float ALIGNMENT = 0.5f;     // units off the aim line
	// The aim point sits a little above the disc on a line at most MAX_STRENGTH long, so its
	// length along the field tops out just under MAX_STRENGTH.
	static constexpr float MAX_REACH = 59.99f; // units of aim length
	// As wide as one step of the aim point, so a step can never jump over the band and back.
	static constexpr float STEER_TOLERANCE = 0.045f; // units per ms of frame time

	explicit ComputerPlayer(Random &random);
	virtual ~ComputerPlayer() {}

	// ComputerLevel.
	virtual int GetLevel() const;
	// The goal side attacks (side 1 goal 2, side 2 goal 1) and whatever else the level needs of
	// arena, which must outlive the player. False when that cannot be made.
	virtual bool SetUpField(const Arena &arena, int side);
	// A turn of the side begins: the next Decide is its first frame.
	virtual void StartTurn() {}
	// The result bits for one frame of the side's turn. This level thinks with the four points.
	virtual int Decide(const FieldView &view);

	void SetGoal(float x, float y);

	int Think(
		float ballX, float ballY, float aimX, float aimY, float ownX, float ownY, float otherX, float otherY, int dt);

	const float *GetGoal() const { return goal; }
	const float *GetDesiredAim() const { return desiredAim; }
	const float *GetTarget() const { return target; }
	int GetMode() const { return mode; }

protected:
	// Picks the target point and the aim length wanted for it; updates mode.
	void ChooseTarget(const float ball[2], const float own[2], const float other[2], float &strength);
	// Move bits that take the aim point towards desired, none on an axis within tolerance of it.
	static int SteerBits(float aimX, float aimY, const float desired[2], float tolerance);

	float goal[2];       // units, the goal this side attacks
	float desiredAim[2]; // units, computed by every Think
	float target[2];     // units, where the disc should go, computed by every Think
	int mode;            // Mode, kept between calls
	Random &random;
};

// A computer player at level (ComputerLevel; other values play "NORMAL"). The planning levels
// measure their search with clock, which must outlive the player.
std::unique_ptr<ComputerPlayer> MakeComputerPlayer(int level, Random &random, SearchClock &clock);

#endif
