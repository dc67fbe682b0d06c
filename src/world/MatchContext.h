#ifndef TAVRO_WORLD_MATCHCONTEXT_H
#define TAVRO_WORLD_MATCHCONTEXT_H

struct Announcement;
struct OptionsRecord;
class Disc;
class ParticleEmitter;
class ShotTurnEvent;

enum MatchPhase {
	PHASE_MENU_OPEN = 1,
	PHASE_AFTER_GOAL = 2,
	PHASE_NEXT_PERIOD = 3,
	PHASE_PLAYING = 4,
	PHASE_STARTING = 5,
	PHASE_FINISHED = 6,
	PHASE_REPLAY = 7 // a goal shown again before play restarts
};

enum SparkEmitter {
	SPARKS_DISC_DISC = 0,
	SPARKS_DISC_WALL = 1
};

// What the match events may see and change of the running match.
class MatchContext {
public:
	virtual ~MatchContext() {}

	// True while an announcement runs: the clocks stand still.
	virtual bool IsFrozen() const = 0;
	virtual void SetAnnouncementMode(int mode) = 0;
	virtual Announcement &GetAnnouncement() = 0;
	virtual void SetPhase(int phase) = 0;
	virtual int GetPeriodTimeLeft() const = 0; // ms
	virtual void SetPeriodTimeLeft(int ms) = 0;
	virtual int GetPeriodIndex() const = 0; // -1 before the first period
	virtual void SetTurnOver(bool over) = 0;
	virtual void SetShotTimer(ShotTurnEvent *timer) = 0;
	// lastScorer := disc, and the disc counts the goal.
	virtual void RecordGoal(Disc *disc) = 0;

	// The window in lengths at 640 × 480, where the announcements are laid out: pixels divided
	// by the scale the match draws them at (VideoConfig::ScreenScale).
	virtual int GetLayoutWidth() const = 0;
	virtual int GetLayoutHeight() const = 0;
	virtual const OptionsRecord &GetOptions() const = 0;
	virtual Disc *GetDisc(int side) const = 0; // side 1 or 2
	// Hides or shows the ball together with its shadow, when it has one.
	virtual void SetBallHidden(bool hidden) = 0;
	virtual ParticleEmitter *GetSparks(int which) const = 0;
	// The character name of a side's disc ("hippy" ...), for its portraits.
	virtual const char *GetCharacterName(int side) const = 0;

	// Returns the channel, or 0 when nothing sounds.
	virtual int PlaySound(int slot) = 0;
	virtual void StopSound(int channel) = 0;
};

#endif
