#include "match/NetHostMatch.h"

#include <algorithm>
#include <cmath>

#include "core/LogFile.h"
#include "match/NetPlay.h"
#include "net/NetSession.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Ball.h"
#include "world/ContactRules.h"
#include "world/CountdownEvent.h"
#include "world/DiscDiscHitEvent.h"
#include "world/DiscWallHitEvent.h"
#include "world/Disc.h"
#include "world/GoalEvent.h"
#include "world/MatchClockEvent.h"
#include "world/ShotTurnEvent.h"
#include "world/TrophyEvent.h"

namespace {

float Clamp(float value, float limit) {
	return std::max(-limit, std::min(limit, value));
}

// A body's place and speed in the plane, within what the joiner's decoder takes.
NetBody Body(const GameObject &object) {
	sgVec3 p, v;
	object.GetPosition(p);
	object.GetVelocity(v);
	return {Clamp(p[0], NET_POSITION_LIMIT), Clamp(p[1], NET_POSITION_LIMIT), Clamp(v[0], NET_SPEED_LIMIT),
		Clamp(v[1], NET_SPEED_LIMIT)};
}

// An aim's offset from its disc, never longer than the aim goes.
void Offset(const Aim &aim, float *x, float *y) {
	aim.GetOffset(x, y);
	const float length = std::sqrt(*x * *x + *y * *y);
	if (length > Aim::MAX_LENGTH) {
		*x *= Aim::MAX_LENGTH / length;
		*y *= Aim::MAX_LENGTH / length;
	}
}

uint8_t Goals(const Disc *disc, int extra = 0) {
	return static_cast<uint8_t>(std::min(255, disc->GetGoals() + extra));
}

} // namespace

NetHostMatch::NetHostMatch(NetPlay &net_)
	: net(net_), turn(0), turnOpen(false), lastShot(false), resetSent(false), ballHidden(false), held(), aimSent(),
	  aimTurn(0), snapshotTurn(0), heardTurn(0), turnStarted(0), holdCounted(false), trophyShown(false), ended(false) {}

NetHostMatch::~NetHostMatch() {
	game.SetObserver(nullptr);
}

bool NetHostMatch::Enter() {
	if (const NetSession *session = net.GetSession()) {
		const NetWelcome &welcome = session->GetOptions();
		game.SetMatchOptions(NetPlay::MatchOptions(g_options, welcome, 1));
		game.SetSeed(welcome.seed);
		Log(LOG_MESSAGE, "NET: The match begins: %s here against %s", CharacterName(welcome.character[0]),
			CharacterName(welcome.character[1]));
	}
	game.SetRemoteSide(2);
	game.SetPausable(false);
	game.SetObserver(this);
	return game.Init();
}

void NetHostMatch::Leave() {
	NetSession *session = net.GetSession();
	if (!ended && session && session->GetState() == NET_SESSION_IN_MATCH) {
		// Asked to quit: the joiner hears a goodbye.
		session->Leave();
		LogEnd("Left the match");
		session->Flush();
	}
	ended = true;
	game.SetObserver(nullptr);
	game.Leave();
}

void NetHostMatch::LogEnd(const char *how) {
	const MatchWorld &world = game.GetWorld();
	Log(LOG_MESSAGE, "NET: %s at %d:%d", how, world.GetDisc(1)->GetGoals(), world.GetDisc(2)->GetGoals());
	net.EndOfMatch(world.GetDisc(1)->GetGoals(), world.GetDisc(2)->GetGoals());
}

int NetHostMatch::ActiveSide() const {
	const Disc *active = game.GetActiveDisc();
	return active ? (active == game.GetWorld().GetDisc(1) ? 1 : 2) : 0;
}

bool NetHostMatch::Frame() {
	NetSession *session = net.GetSession();
	if (ended || !session) {
		return false;
	}
	session->Update();
	// The joiner may end its showing of the trophy first: this side's goes on to its end.
	const bool over = session->GetEndReason() == NET_END_OVER && trophyShown;
	if (session->GetState() != NET_SESSION_IN_MATCH && !over) {
		// The joiner left or went silent: the reason is in the log already.
		LogEnd("The match ended");
		ended = true;
		return false;
	}
	TakeSteering(*session);
	const bool going = game.Frame();
	if (going) {
		SendState(*session);
	} else if (game.GetPhase() == PHASE_FINISHED) {
		session->EndMatch();
		LogEnd("The match is over");
	} else {
		session->Leave();
		LogEnd("Left the match");
	}
	session->Flush();
	ended = !going;
	return going;
}

void NetHostMatch::TakeSteering(NetSession &session) {
	const bool theirs = ActiveSide() == 2;
	Aim *aim = game.GetWorld().GetAim(2);
	NetAim steered;
	if (theirs && session.GetPeerAim(steered) && steered.turn == turn) {
		aim->PlaceAt(steered.x, steered.y);
		heardTurn = turn;
	}
	if (ShotTurnEvent *timer = game.GetShotTimer()) {
		// The wait counts from the end of the countdown or the goal the turn may begin under.
		const uint32_t now = net.GetClock().Milliseconds();
		if (!holdCounted && !game.IsFrozen()) {
			holdCounted = true;
			turnStarted = now;
		}
		timer->SetHeld(theirs && heardTurn != turn && (!holdCounted || now - turnStarted < HOLD_LIMIT));
	}
	NetFire fire;
	while (session.TakeFire(fire)) {
		ShotTurnEvent *timer = game.GetShotTimer();
		const bool open = timer && timer->GetRemaining() > 0 && !game.IsFrozen() && game.GetPhase() == PHASE_PLAYING;
		if (theirs && fire.turn == turn && open) {
			aim->PlaceAt(fire.x, fire.y);
			timer->Fire();
			Log(LOG_MESSAGE, "NET: The joiner fires on turn %d", fire.turn);
		} else {
			Log(LOG_MESSAGE, "NET: The joiner's shot on turn %d came after its turn", fire.turn);
		}
	}
}

void NetHostMatch::SendState(NetSession &session) {
	// On the beat, and at once when a turn begins: the joiner stops steering a turn that is over
	// as soon as it hears.
	const bool due = session.IsSnapshotDue() || snapshotTurn != turn;
	if (ActiveSide() == 1 && game.GetShotTimer()) {
		float x = 0.0f, y = 0.0f;
		Offset(*game.GetWorld().GetAim(1), &x, &y);
		// When it moved, and with every snapshot, for an aim message lost on the way.
		if (due || aimTurn != turn || x != aimSent[0] || y != aimSent[1]) {
			session.SendAim(static_cast<uint16_t>(turn), x, y);
			aimSent[0] = x;
			aimSent[1] = y;
			aimTurn = static_cast<uint16_t>(turn);
		}
	}
	if (due) {
		NetSnapshot snapshot;
		MakeSnapshot(snapshot);
		session.SendSnapshot(snapshot);
		snapshotTurn = turn;
	}
}

void NetHostMatch::MakeSnapshot(NetSnapshot &s) {
	s = NetSnapshot();
	const MatchWorld &world = game.GetWorld();
	s.phase = static_cast<uint8_t>(game.GetPhase());
	s.period = static_cast<int8_t>(std::max(-1, std::min(NET_PERIOD_COUNT - 1, game.GetPeriodIndex())));
	s.periodLeft = static_cast<uint32_t>(std::max(0, std::min(NET_PERIOD_TIME_LIMIT, game.GetPeriodTimeLeft())));
	s.turn = static_cast<uint16_t>(turn);
	s.side = static_cast<uint8_t>(ActiveSide());
	const ShotTurnEvent *timer = game.GetShotTimer();
	s.turnLeft = static_cast<uint16_t>(timer ? std::max(0, std::min(NET_TURN_TIME_LIMIT, timer->GetRemaining())) : 0);
	s.score[0] = Goals(world.GetDisc(1));
	s.score[1] = Goals(world.GetDisc(2));
	s.announcement = static_cast<uint8_t>(game.GetAnnouncementMode());
	s.flags = static_cast<uint8_t>((ballHidden ? NET_SNAP_BALL_HIDDEN : 0) | (resetSent ? NET_SNAP_RESET : 0));
	resetSent = false;
	// A replay moves the bodies through the goal again: the joiner keeps seeing them at rest.
	if (game.GetPhase() != PHASE_REPLAY) {
		held[0] = Body(*world.GetBall());
		held[1] = Body(*world.GetDisc(1));
		held[2] = Body(*world.GetDisc(2));
	}
	std::copy(held, held + NET_BODY_COUNT, s.bodies);
}

void NetHostMatch::SendEvent(NetEvent &event) {
	NetSession *session = net.GetSession();
	if (session && session->GetState() == NET_SESSION_IN_MATCH) {
		session->SendEvent(event);
	}
}

void NetHostMatch::EndTurn() {
	turnOpen = false;
	const MatchWorld &world = game.GetWorld();
	const GameObject *bodies[NET_BODY_COUNT] = {world.GetBall(), world.GetDisc(1), world.GetDisc(2)};
	NetRest rest = NetRest();
	rest.turn = static_cast<uint16_t>(turn);
	for (int i = 0; i < NET_BODY_COUNT; i++) {
		const NetBody body = Body(*bodies[i]);
		rest.positions[i][0] = body.x;
		rest.positions[i][1] = body.y;
	}
	Log(LOG_MESSAGE, "NET: turn %d ball %.3f %.3f", turn, rest.positions[0][0], rest.positions[0][1]);
	NetSession *session = net.GetSession();
	if (session && session->GetState() == NET_SESSION_IN_MATCH) {
		session->SendRest(rest);
	}
}

void NetHostMatch::EventStarted(const MatchEvent &event) {
	const MatchWorld &world = game.GetWorld();
	NetEvent e = NetEvent();
	if (dynamic_cast<const ShotTurnEvent *>(&event)) {
		turn++;
		turnOpen = true;
		holdCounted = false;
		// Every turn but one after a shot begins on the spots.
		resetSent = resetSent || !lastShot;
		lastShot = false;
		e.kind = NET_EVENT_TURN;
		e.number = static_cast<uint16_t>(turn);
		e.side = static_cast<uint8_t>(ActiveSide());
	} else if (dynamic_cast<const CountdownEvent *>(&event)) {
		e.kind = NET_EVENT_COUNTDOWN;
	} else if (dynamic_cast<const MatchClockEvent *>(&event)) {
		e.kind = NET_EVENT_PERIOD;
		e.number = static_cast<uint16_t>(std::max(0, std::min(NET_PERIOD_COUNT - 1, game.GetPeriodIndex() + 1)));
	} else if (const GoalEvent *goal = dynamic_cast<const GoalEvent *>(&event)) {
		// Counted when the celebration ends; sent with the score it makes.
		const int side = goal->GetScorer() == world.GetDisc(1) ? 1 : 2;
		e.kind = NET_EVENT_GOAL;
		e.side = static_cast<uint8_t>(side);
		e.score[0] = Goals(world.GetDisc(1), side == 1);
		e.score[1] = Goals(world.GetDisc(2), side == 2);
		ballHidden = true;
		Log(LOG_MESSAGE, "NET: Goal for side %d, %d:%d", side, e.score[0], e.score[1]);
	} else if (dynamic_cast<const TrophyEvent *>(&event)) {
		trophyShown = true;
		if (turnOpen) {
			EndTurn(); // the last turn ends with the match
		}
		e.kind = NET_EVENT_TROPHY;
		e.score[0] = Goals(world.GetDisc(1));
		e.score[1] = Goals(world.GetDisc(2));
	} else if (const SparkHitEvent *hit = dynamic_cast<const SparkHitEvent *>(&event)) {
		if (!hit->IsSparking()) {
			return; // its sound is all there is to it
		}
		const DiscWallHitEvent *wall = dynamic_cast<const DiscWallHitEvent *>(hit);
		e.kind = NET_EVENT_HIT;
		e.code = static_cast<uint8_t>(
			!wall ? TOUCH_DISC_DISC : (wall->GetDisc() == world.GetDisc(1) ? TOUCH_DISC1_WALL : TOUCH_DISC2_WALL));
		e.x = Clamp(hit->GetParams()[0], NET_POSITION_LIMIT);
		e.y = Clamp(hit->GetParams()[1], NET_POSITION_LIMIT);
		e.speed = std::min(hit->GetSpeed(), NET_SPEED_LIMIT);
	} else {
		return;
	}
	SendEvent(e);
}

void NetHostMatch::EventEnded(const MatchEvent &event, bool finished) {
	if (dynamic_cast<const ShotTurnEvent *>(&event)) {
		if (turnOpen) {
			EndTurn();
		}
		lastShot = finished;
		if (finished) {
			const int side = ActiveSide();
			NetEvent e = NetEvent();
			e.kind = NET_EVENT_SHOT;
			e.side = static_cast<uint8_t>(side);
			Offset(*game.GetWorld().GetAim(side), &e.x, &e.y);
			SendEvent(e);
		}
	} else if (dynamic_cast<const GoalEvent *>(&event)) {
		ballHidden = false;
	}
}

void NetHostMatch::SoundPlayed(int slot) {
	NetEvent e = NetEvent();
	e.kind = NET_EVENT_SOUND;
	e.code = static_cast<uint8_t>(slot);
	SendEvent(e);
}
