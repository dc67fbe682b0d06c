#ifndef TAVRO_MATCH_MATCHPHYSICS_H
#define TAVRO_MATCH_MATCHPHYSICS_H

#include <ode/ode.h>

#include <cstdint>
#include <memory>

#include "world/ContactRules.h"
#include "world/PhysicsStep.h"

class GoalReplay;
class MatchContext;
class MatchEvent;
class MatchEvents;
class MatchWorld;

// Contacts already announced; each is raised once until a collision pass sees no contact.
enum ContactFlag {
	CONTACT_DISC_DISC = 1,
	CONTACT_BALL_DISC1 = 2,
	CONTACT_BALL_DISC2 = 4,
	CONTACT_DISC1_WALL = 8,
	CONTACT_DISC2_WALL = 16,
	CONTACT_BALL_WALL = 32
};

// The physics of a match: the world stepped in fixed steps up to the frame timer, and a
// collision pass every 20 ms of simulated time that makes the contact joints and raises the
// hit and goal events.
class MatchPhysics : private ContactListener {
public:
	// The events it raises are made for match and started into events.
	MatchPhysics(MatchWorld &world, MatchContext &match, MatchEvents &events);

	// Steps the world until its clock reaches now (ms of the frame timer), with a collision
	// pass first whenever 20 ms have gathered, so a long frame's catch-up steps never run
	// blind; a goal found on the way freezes play and stops the steps at once.
	void Run(uint32_t now);
	// The physics clock restarts at now with a fresh wait for the next pass.
	void Restart(uint32_t now);
	// The time up to now goes by unsimulated (the in-game menu's).
	void SkipTo(uint32_t now) { physicsTime = now; }
	// Drops the joints of the last pass, which would push the bodies off their spots after a
	// reset, and forgets the contacts announced.
	void ClearContacts();

	int GetContactFlags() const { return contactFlags; }
	// ms of simulated time since the last collision pass.
	int GetCollisionWait() const { return collisionWait; }
	// Steps taken since the match began.
	int GetStepCount() const { return stepCount; }
	// ms the world still has to be stepped to reach now.
	int GetLag(uint32_t now) const { return static_cast<int32_t>(now - physicsTime); }
	// Every step of play is handed to the recorder too (null for none).
	void SetRecorder(GoalReplay *recorder_) { recorder = recorder_; }
	// Told of every contact the passes find, before the match's own handling (null for none).
	void SetObserver(ContactListener *observer_) { observer = observer_; }

private:
	void CollisionPass();
	// Raises the hit and goal events of a contact of the pass.
	void OnContact(ContactKind kind, const float at[2]) override;
	void Raise(std::unique_ptr<MatchEvent> event);
	// Raises the event make() returns unless flag says its contact was announced already.
	template <typename Make>
	void RaiseOnce(int flag, Make make);

	MatchWorld &world;
	MatchContext &match;
	MatchEvents &events;
	ContactRules rules;
	uint32_t physicsTime; // ms of the frame timer up to which the world has been stepped
	int collisionWait;    // ms of simulated time since the last collision pass
	int stepCount;
	int contactFlags;          // ContactFlag bits
	GoalReplay *recorder;      // not owned
	ContactListener *observer; // not owned
};

#endif
