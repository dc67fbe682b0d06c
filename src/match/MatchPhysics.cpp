#include "match/MatchPhysics.h"

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

const int MAX_CONTACTS = 6;
const float STEP_SECONDS = 0.01f;

// A contact event with the contact's x and y and one more value.
template <typename Event>
std::unique_ptr<MatchEvent> AtContact(Event *event, const float at[2], float value) {
	const float params[3] = {at[0], at[1], value};
	event->SetParams(params, 3);
	return std::unique_ptr<MatchEvent>(event);
}

} // namespace

MatchPhysics::MatchPhysics(MatchWorld &world_, MatchContext &match_, MatchEvents &events_)
	: world(world_), match(match_), events(events_), physicsTime(0), collisionWait(0), contactFlags(0),
	  contactSeen(false) {}

void MatchPhysics::Run(uint32_t now) {
	Disc *disc1 = world.GetDisc(1);
	Disc *disc2 = world.GetDisc(2);
	Ball *ball = world.GetBall();
	while (static_cast<int32_t>(physicsTime - now) < 0 && !match.IsFrozen()) {
		if (collisionWait >= COLLISION_WAIT) {
			CollisionPass();
			collisionWait = 0;
		}
		disc1->ApplyFriction();
		disc2->ApplyFriction();
		ball->ApplyFriction();
		dWorldStep(world.GetPhysics(), STEP_SECONDS);
		physicsTime += STEP;
		collisionWait += STEP;
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
	contactSeen = false;
	dJointGroupEmpty(world.GetContactGroup());
	dSpaceCollide(world.GetSpace(), this, NearCallback);
	if (!contactSeen) {
		contactFlags = 0;
	}
}

void MatchPhysics::NearCallback(void *data, dGeomID g1, dGeomID g2) {
	static_cast<MatchPhysics *>(data)->Collide(g1, g2);
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

void MatchPhysics::Collide(dGeomID g1, dGeomID g2) {
	dContact contacts[MAX_CONTACTS];
	const int count = dCollide(g1, g2, MAX_CONTACTS, &contacts[0].geom, sizeof(dContact));
	if (count < 1) {
		return;
	}
	contactSeen = true;
	Ball *ball = world.GetBall();
	Disc *disc1 = world.GetDisc(1);
	Disc *disc2 = world.GetDisc(2);
	const Arena &arena = *world.GetArena();
	const dBodyID b1 = dGeomGetBody(g1);
	const dBodyID b2 = dGeomGetBody(g2);
	auto pair = [&](dBodyID a, dBodyID b) { return (b1 == a && b2 == b) || (b1 == b && b2 == a); };
	auto touches = [&](const GameObject *object, const GameObject *other) {
		return pair(object->GetBody(), other ? other->GetBody() : nullptr);
	};
	// The geometry without a body is a wall (or a goal wall) of the arena.
	const dGeomID wall = b1 ? (b2 ? nullptr : g2) : g1;
	MatchContext *context = &match;

	for (int i = 0; i < count; i++) {
		dContact &contact = contacts[i];
		contact.surface.mode = dContactBounce;
		contact.surface.mu = 0;
		contact.surface.bounce_vel = 0.001;
		bool makeJoint = true;
		const float at[2] = {static_cast<float>(contact.geom.pos[0]), static_cast<float>(contact.geom.pos[1])};

		if (touches(disc1, disc2)) {
			RaiseOnce(CONTACT_DISC_DISC,
				[&] { return AtContact(new DiscDiscHitEvent(context, disc1, disc2), at, 2.0f); });
			contact.surface.bounce = 0.001f;
		} else if (touches(ball, disc1) || touches(ball, disc2)) {
			Disc *disc = touches(ball, disc1) ? disc1 : disc2;
			RaiseOnce(disc == disc1 ? CONTACT_BALL_DISC1 : CONTACT_BALL_DISC2,
				[&] { return std::unique_ptr<MatchEvent>(new DiscBallHitEvent(context, disc, ball)); });
			contact.surface.bounce = 0.3f;
		} else if (wall && (touches(disc1, nullptr) || touches(disc2, nullptr))) {
			Disc *disc = touches(disc1, nullptr) ? disc1 : disc2;
			RaiseOnce(disc == disc1 ? CONTACT_DISC1_WALL : CONTACT_DISC2_WALL,
				[&] { return AtContact(new DiscWallHitEvent(context, disc), at, 1.0f); });
			contact.surface.bounce = arena.GetDiscWallBounce();
		} else if (wall && touches(ball, nullptr)) {
			const float half = arena.GetGoalHalfWidth();
			auto inMouth = [&](float centreY) { return at[1] > centreY - half && at[1] < centreY + half; };
			Disc *scorer = nullptr;
			if (wall == arena.GetGoal2Wall() && inMouth(arena.GetGoal2CentreY())) {
				scorer = disc1;
			} else if (wall == arena.GetGoal1Wall() && inMouth(arena.GetGoal1CentreY())) {
				scorer = disc2;
			}
			if (scorer) {
				// No joint: the ball passes into the goal.
				Raise(std::unique_ptr<MatchEvent>(new GoalEvent(context, scorer)));
				makeJoint = false;
			} else {
				RaiseOnce(CONTACT_BALL_WALL,
					[&] { return std::unique_ptr<MatchEvent>(new BallWallHitEvent(context, ball)); });
				contact.surface.bounce = arena.GetBallWallBounce();
			}
		} else {
			makeJoint = false;
		}
		if (makeJoint) {
			dJointID joint = dJointCreateContact(world.GetPhysics(), world.GetContactGroup(), &contact);
			dJointAttach(joint, b1, b2);
		}
	}
}
