#include "match/MatchPhysics.h"

#include "match/GoalReplay.h"
#include "match/MatchEvents.h"
#include "match/MatchWorld.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/BallWallHitEvent.h"
#include "world/Disc.h"
#include "world/DiscBallHitEvent.h"
#include "world/DiscDiscHitEvent.h"
#include "world/DiscWallHitEvent.h"
#include "world/GoalEvent.h"
#include "world/MatchContext.h"

namespace {

// A contact event with the contact's x and y and one more value.
template <typename Event>
std::unique_ptr<MatchEvent> AtContact(Event *event, const float at[2], float value) {
	const float params[3] = {at[0], at[1], value};
	event->SetParams(params, 3);
	return std::unique_ptr<MatchEvent>(event);
}

} // namespace

MatchPhysics::MatchPhysics(MatchWorld &world_, MatchContext &match_, MatchEvents &events_)
	: world(world_), match(match_), events(events_), physicsTime(0), collisionWait(0), stepCount(0), contactFlags(0),
	  recorder(nullptr), observer(nullptr) {
	rules.SetBodies(world.GetBall()->GetBody(), world.GetDisc(1)->GetBody(), world.GetDisc(2)->GetBody());
	const Arena &arena = *world.GetArena();
	rules.SetArena(arena, arena.GetGoal1Wall(), arena.GetGoal2Wall());
}

void MatchPhysics::Run(uint32_t now) {
	Disc *disc1 = world.GetDisc(1);
	Disc *disc2 = world.GetDisc(2);
	Ball *ball = world.GetBall();
	while (static_cast<int32_t>(physicsTime - now) < 0 && !match.IsFrozen()) {
		if (collisionWait >= COLLISION_WAIT) {
			CollisionPass();
			collisionWait = 0;
		}
		StepBodies(world.GetPhysics(), *disc1, *disc2, *ball);
		if (recorder) {
			recorder->Record(world);
		}
		physicsTime += PHYSICS_STEP;
		collisionWait += PHYSICS_STEP;
		stepCount++;
	}
}

void MatchPhysics::Restart(uint32_t now) {
	physicsTime = now;
	collisionWait = 0;
}

void MatchPhysics::ClearContacts() {
	dJointGroupEmpty(world.GetContactGroup());
	contactFlags = 0;
}

void MatchPhysics::CollisionPass() {
	if (!rules.Collide(world.GetSpace(), world.GetPhysics(), world.GetContactGroup(), this)) {
		contactFlags = 0;
	}
}

void MatchPhysics::Raise(std::unique_ptr<MatchEvent> event) {
	events.Start(std::move(event));
}

template <typename Make>
void MatchPhysics::RaiseOnce(int flag, Make make) {
	if (!(contactFlags & flag)) {
		Raise(make());
		contactFlags |= flag;
	}
}

void MatchPhysics::OnContact(ContactKind kind, const float at[2]) {
	if (observer) {
		observer->OnContact(kind, at);
	}
	Ball *ball = world.GetBall();
	Disc *disc1 = world.GetDisc(1);
	Disc *disc2 = world.GetDisc(2);
	MatchContext *context = &match;
	switch (kind) {
	case TOUCH_DISC_DISC:
		RaiseOnce(CONTACT_DISC_DISC, [&] { return AtContact(new DiscDiscHitEvent(context, disc1, disc2), at, 2.0f); });
		break;
	case TOUCH_BALL_DISC1:
	case TOUCH_BALL_DISC2: {
		Disc *disc = kind == TOUCH_BALL_DISC1 ? disc1 : disc2;
		RaiseOnce(disc == disc1 ? CONTACT_BALL_DISC1 : CONTACT_BALL_DISC2,
			[&] { return std::unique_ptr<MatchEvent>(new DiscBallHitEvent(context, disc, ball)); });
		break;
	}
	case TOUCH_DISC1_WALL:
	case TOUCH_DISC2_WALL: {
		Disc *disc = kind == TOUCH_DISC1_WALL ? disc1 : disc2;
		RaiseOnce(disc == disc1 ? CONTACT_DISC1_WALL : CONTACT_DISC2_WALL,
			[&] { return AtContact(new DiscWallHitEvent(context, disc), at, 1.0f); });
		break;
	}
	case TOUCH_GOAL_BY_SIDE1:
	case TOUCH_GOAL_BY_SIDE2:
		// Never held back by a flag: the goal freezes play at once.
		Raise(std::unique_ptr<MatchEvent>(new GoalEvent(context, kind == TOUCH_GOAL_BY_SIDE1 ? disc1 : disc2)));
		break;
	case TOUCH_BALL_WALL:
		RaiseOnce(CONTACT_BALL_WALL, [&] { return std::unique_ptr<MatchEvent>(new BallWallHitEvent(context, ball)); });
		break;
	default: break;
	}
}
