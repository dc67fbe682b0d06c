#include "match/NetJoinMatch.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cmath>

#include "audio/SoundBank.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "input/NoxInput.h"
#include "match/MatchView.h"
#include "match/NetPlay.h"
#include "net/NetSession.h"
#include "options/NameTable.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/ContactRules.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/GoalEvent.h"
#include "world/PhysicsStep.h"
#include "world/Shadow.h"
#include "world/SparkHitEvent.h"
#include "world/TrophyEvent.h"

namespace {

// A hit the host saw spark: the sparks at its point, here too.
class SparksEvent : public SparkHitEvent {
public:
	SparksEvent(MatchContext *match, int emitter, float speed)
		: SparkHitEvent(match, emitter, 0, 0, 0.0f), hitSpeed(speed > 0.0f ? speed : 1.0f) {}
	void Start() override { Hit(hitSpeed); }

private:
	float hitSpeed; // units per second
};

// b - a for ms readings of one clock, across its wrap.
int32_t Since(uint32_t a, uint32_t b) {
	return static_cast<int32_t>(b - a);
}

} // namespace

NetJoinMatch::NetJoinMatch(NetPlay &net_)
	: net(net_), options(), frameTime(0), periodTimeLeft(0), periodIndex(-1), turn(0), side(0), newestTurn(0),
	  shownPhase(PHASE_STARTING), shownAnnouncement(ANNOUNCE_NONE), firedTurn(0), goalTurn(0), aimSent(), aimTurn(0),
	  aimSentAt(0), recordWait(0), hurryChannel(0), replaying(false), trophyShown(false), finished(false), done(false),
	  announcementMode(ANNOUNCE_NONE), screenWidth(640), screenHeight(480), musicOn(false), drawing(true) {}

NetJoinMatch::~NetJoinMatch() {
	Deinit();
}

bool NetJoinMatch::Init() {
	Log(LOG_MESSAGE, "INGAME: Initialization...");
	uint32_t seed = Random::ClockSeed();
	options = g_options;
	if (const NetSession *session = net.GetSession()) {
		const NetWelcome &welcome = session->GetOptions();
		options = NetPlay::MatchOptions(g_options, welcome, 2);
		seed = welcome.seed;
		Log(LOG_MESSAGE, "NET: The match begins: %s here against %s", CharacterName(welcome.character[1]),
			CharacterName(welcome.character[0]));
	}
	random.Seed(seed);
	Log(LOG_MESSAGE, "INGAME: Random seed %u", static_cast<unsigned>(seed));
	musicOn = options.music != 0;
	if (g_videoConfig) {
		screenWidth = g_videoConfig->Width();
		screenHeight = g_videoConfig->Height();
	}
	announcement.smooth = VideoConfig::ScreenScale(screenWidth, screenHeight) != 1.0f;
	controls.Reset();
	world.reset(new MatchWorld());
	if (!world->Build(options, screenWidth, screenHeight, random)) {
		return false;
	}
	world->ResetPositions();
	world->GetAim(1)->SetHidden(true);
	world->GetAim(2)->SetHidden(true);
	if (options.replay) {
		replay.SetUp(screenWidth, screenHeight);
	}
	controls.SetUp(options, *world->GetArena(), random);
	controls.SetRemote(1, true);
	if (!SetUpMatchView(options, *world, guide, hud, this, screenWidth, screenHeight)) {
		return false;
	}
	if (musicOn) {
		g_sound->PlayMusic();
	}
	Log(LOG_MESSAGE, "INGAME: ...Done!");
	return true;
}

void NetJoinMatch::Deinit() {
	if (!world) {
		return;
	}
	Log(LOG_MESSAGE, "INGAME: Deinitialization...");
	menu.Close();
	if (musicOn && g_sound) {
		g_sound->StopMusic();
	}
	events.AbortAll();
	hud.Deinit();
	controls.Release();
	replay.Release();
	guide.Release();
	world.reset();
}

void NetJoinMatch::Leave() {
	NetSession *session = net.GetSession();
	if (!done && session && session->GetState() == NET_SESSION_IN_MATCH) {
		// Asked to quit: the host hears a goodbye.
		session->Leave();
		LogEnd("Left the match");
		session->Flush();
	}
	done = true;
	Deinit();
}

void NetJoinMatch::LogEnd(const char *how) {
	Log(LOG_MESSAGE, "NET: %s at %d:%d", how, world->GetDisc(1)->GetGoals(), world->GetDisc(2)->GetGoals());
	net.EndOfMatch(world->GetDisc(1)->GetGoals(), world->GetDisc(2)->GetGoals());
}

void NetJoinMatch::SetPhase(int phase) {
	if (phase == PHASE_FINISHED) {
		finished = true; // the trophy has been shown
	} else if (phase == PHASE_AFTER_GOAL && replay.IsSetUp() && replay.Start()) {
		replaying = true;
		goalTurn = turn;
		const uint8_t *keys = nullptr;
		int keyCount = 0;
		const NI_Joystick *pads[2] = {nullptr, nullptr};
		if (!menu.IsOpen() && TakeInput(&keys, &keyCount, pads)) {
			controls.AnyPressed(keys, keyCount, pads); // what is held from the celebration skips nothing
		}
	}
}

void NetJoinMatch::SetBallHidden(bool hidden) {
	world->GetBall()->SetHidden(hidden);
	if (Shadow *shadow = world->GetShadow(MatchWorld::SHADOW_BALL)) {
		shadow->SetHidden(hidden);
	}
}

const char *NetJoinMatch::GetCharacterName(int which) const {
	return CharacterName(options.character[which == 1 ? 0 : 1]);
}

// ---------------------------------------------------------------------------------------------
// The frame

void NetJoinMatch::AdvanceTimer() {
	const uint32_t before = g_timer->GetTime();
	g_timer->Update();
	const int32_t elapsed = static_cast<int32_t>(g_timer->GetTime() - before);
	frameTime = elapsed < 0 ? 0 : elapsed;
}

bool NetJoinMatch::TakeInput(const uint8_t **keys, int *keyCount, const NI_Joystick *pads[2]) const {
	if (!TakeMatchInput(keys, keyCount, pads)) {
		return false;
	}
	// Side 2 is this player's, steered with the first pad.
	pads[1] = pads[0];
	pads[0] = nullptr;
	return true;
}

bool NetJoinMatch::Frame() {
	AdvanceTimer();
	NetSession *session = net.GetSession();
	if (done || !session) {
		return false;
	}
	session->Update();
	const bool over = session->GetState() == NET_SESSION_ENDED && session->GetEndReason() == NET_END_OVER;
	if (session->GetState() != NET_SESSION_IN_MATCH && !over) {
		LogEnd("The match ended"); // the host left or went silent: the reason is in the log already
		done = true;
		return false;
	}
	if (menu.IsOpen()) {
		AnswerMenu(*session);
		if (done) {
			return false;
		}
	}
	Receive(*session);
	if (replaying) {
		Replay();
	}
	Show(*session);
	PlayDue(*session);
	Steer(*session);
	world->UpdateObjects(frameTime);
	Record();
	UpdateGuide();
	events.Update(frameTime, [](const MatchEvent *) {});
	if (drawing) {
		Draw();
	}
	if (finished && session->GetState() == NET_SESSION_IN_MATCH) {
		session->EndMatch(); // the trophy was shown here before the host's goodbye came
	}
	session->Flush();
	// After the match, the trophy shown first.
	if (finished || (over && !trophyShown && waiting.GetCount() == 0)) {
		LogEnd("The match is over");
		done = true;
		return false;
	}
	return true;
}

void NetJoinMatch::AnswerMenu(NetSession &session) {
	menu.HandleEvents();
	switch (menu.GetAnswer()) {
	case InGameMenu::ANSWER_YES:
		menu.Close();
		session.Leave();
		session.Flush();
		LogEnd("Left the match");
		done = true;
		break;
	case InGameMenu::ANSWER_NO:
		controls.HoldEscapeOver(menu.WasLeftWithEscape());
		menu.Close();
		controls.ClearMenuRequest();
		Log(LOG_MESSAGE, "INGAME: Play goes on");
		break;
	default: break;
	}
}

void NetJoinMatch::Receive(NetSession &session) {
	NetEvent event;
	while (session.TakeEvent(event)) {
		if (!waiting.Push(event)) {
			Play(event); // late rather than never
		}
	}
	NetRest rest;
	while (session.TakeRest(rest)) {
		if (!rests.Push(rest)) {
			Rest(rest);
		}
	}
}

void NetJoinMatch::Show(NetSession &session) {
	NetBody bodies[NET_BODY_COUNT];
	NetSnapshot state;
	if (!session.SampleBodies(bodies, &state)) {
		return; // nothing from the host yet: the bodies wait on their spots
	}
	if (!replaying) {
		GameObject *objects[NET_BODY_COUNT] = {world->GetBall(), world->GetDisc(1), world->GetDisc(2)};
		for (int i = 0; i < NET_BODY_COUNT; i++) {
			sgVec3 at;
			objects[i]->GetPosition(at);
			objects[i]->SetPosition(bodies[i].x, bodies[i].y, at[2]);
			const sgVec3 velocity = {bodies[i].vx, bodies[i].vy, 0.0f};
			objects[i]->SetVelocity(velocity);
		}
		if (state.flags & NET_SNAP_RESET) {
			replay.Clear(); // play starts again from the spots
		}
		SetBallHidden((state.flags & NET_SNAP_BALL_HIDDEN) || announcementMode == ANNOUNCE_GOAL);
	}
	periodTimeLeft = static_cast<int>(state.periodLeft);
	periodIndex = state.period;
	world->GetDisc(1)->SetGoals(state.score[0]);
	world->GetDisc(2)->SetGoals(state.score[1]);
	shownPhase = state.phase;
	shownAnnouncement = state.announcement;
	newestTurn = session.GetSnapshots().GetNewest().turn;
	if (state.turn != turn) {
		ShowTurn(state.turn, state.side);
	}
}

void NetJoinMatch::ShowTurn(int newTurn, int newSide) {
	turn = newTurn;
	side = newSide;
	world->GetDisc(1)->SetActive(side == 1);
	world->GetDisc(2)->SetActive(side == 2);
	guide.Hide();
	if (side != 1 && side != 2) {
		return;
	}
	Aim *mine = world->GetAim(side);
	mine->Reset(side == 1 ? Aim::START_OFFSET : -Aim::START_OFFSET);
	mine->Update(0);
	mine->SetHidden(false);
	world->GetAim(3 - side)->SetHidden(true);
}

void NetJoinMatch::PlayDue(NetSession &session) {
	uint32_t shown = 0;
	const bool timed = session.GetShownTime(shown);
	// Before the first snapshot nothing is shown late: what comes plays at once.
	auto due = [&](uint32_t time) { return !timed || Since(time, shown) >= 0; };
	NetEvent event;
	while (waiting.Front() && due(waiting.Front()->time) && waiting.Take(event)) {
		Play(event);
	}
	NetRest rest;
	while (rests.Front() && due(rests.Front()->time) && rests.Take(rest)) {
		Rest(rest);
	}
}

void NetJoinMatch::Play(const NetEvent &e) {
	switch (e.kind) {
	case NET_EVENT_COUNTDOWN: events.Start(std::unique_ptr<MatchEvent>(new CountdownEvent(this))); break;
	case NET_EVENT_PERIOD: StopHurry(); break;
	case NET_EVENT_GOAL:
		Log(LOG_MESSAGE, "NET: Goal for side %d, %d:%d", e.side, e.score[0], e.score[1]);
		events.Start(std::unique_ptr<MatchEvent>(new GoalEvent(this, world->GetDisc(e.side))));
		break;
	case NET_EVENT_TROPHY:
		StopHurry();
		world->GetDisc(1)->SetGoals(e.score[0]);
		world->GetDisc(2)->SetGoals(e.score[1]);
		Log(LOG_MESSAGE, "INGAME: Final score %d:%d", e.score[0], e.score[1]);
		events.Start(std::unique_ptr<MatchEvent>(new TrophyEvent(this, world->GetDisc(1), world->GetDisc(2))));
		trophyShown = true;
		break;
	case NET_EVENT_HIT: {
		const bool discs = e.code == TOUCH_DISC_DISC;
		std::unique_ptr<MatchEvent> sparks(new SparksEvent(this, discs ? SPARKS_DISC_DISC : SPARKS_DISC_WALL, e.speed));
		const float params[3] = {e.x, e.y, discs ? 2.0f : 1.0f}; // the host's heights of the two kinds
		sparks->SetParams(params, 3);
		events.Start(std::move(sparks));
		break;
	}
	case NET_EVENT_SOUND: {
		const int channel = g_sound ? g_sound->PlaySample(e.code, -1) : 0;
		if (e.code == SOUND_HURRY_UP) {
			hurryChannel = channel;
		}
		break;
	}
	default: break; // turns and shots show in the snapshots
	}
}

void NetJoinMatch::StopHurry() {
	if (hurryChannel && g_sound) {
		g_sound->StopChannel(hurryChannel);
	}
	hurryChannel = 0;
}

void NetJoinMatch::Rest(const NetRest &rest) {
	GameObject *objects[NET_BODY_COUNT] = {world->GetBall(), world->GetDisc(1), world->GetDisc(2)};
	for (int i = 0; i < NET_BODY_COUNT; i++) {
		sgVec3 at;
		objects[i]->GetPosition(at);
		objects[i]->SetPosition(rest.positions[i][0], rest.positions[i][1], at[2]);
	}
	sgVec3 ball;
	world->GetBall()->GetPosition(ball);
	Log(LOG_MESSAGE, "NET: turn %d ball %.3f %.3f", rest.turn, ball[0], ball[1]);
}

bool NetJoinMatch::IsOurTurn() const {
	// A turn the host has left already, as its newest snapshot tells, is over here too: the
	// playback shows it a little longer.
	return side == 2 && turn != firedTurn && newestTurn == turn && shownPhase == PHASE_PLAYING &&
		   shownAnnouncement == ANNOUNCE_NONE && !IsFrozen() && !replaying && !menu.IsOpen();
}

void NetJoinMatch::Steer(NetSession &session) {
	const bool ours = IsOurTurn();
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	bool fire = false;
	if (!menu.IsOpen() && !replaying && TakeInput(&keys, &keyCount, pads)) {
		fire = controls.Read(keys, keyCount, pads, *world, ours ? 2 : 0, frameTime);
		if (controls.IsMenuRequested()) {
			Log(LOG_MESSAGE, "INGAME: The menu is open; play goes on");
			menu.Open(screenWidth, screenHeight);
		}
	}
	NetAim theirs;
	if (side == 1 && session.GetPeerAim(theirs) && theirs.turn == turn) {
		world->GetAim(1)->PlaceAt(theirs.x, theirs.y);
	}
	world->UpdateAims(frameTime);
	if (!ours) {
		return;
	}
	float x = 0.0f, y = 0.0f;
	world->GetAim(2)->GetOffset(&x, &y);
	const float length = std::sqrt(x * x + y * y);
	if (length > Aim::MAX_LENGTH) {
		x *= Aim::MAX_LENGTH / length;
		y *= Aim::MAX_LENGTH / length;
	}
	// When it moved, and now and then for an aim message lost on the way.
	const uint32_t now = net.GetClock().Milliseconds();
	if (aimTurn != turn || x != aimSent[0] || y != aimSent[1] || Since(aimSentAt, now) >= 40) {
		session.SendAim(static_cast<uint16_t>(turn), x, y);
		aimSent[0] = x;
		aimSent[1] = y;
		aimTurn = turn;
		aimSentAt = now;
	}
	if (fire) {
		session.SendFire(static_cast<uint16_t>(turn), x, y);
		firedTurn = turn;
		Log(LOG_MESSAGE, "NET: Fired on turn %d", turn);
	}
}

void NetJoinMatch::Replay() {
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	const bool skip = !menu.IsOpen() && TakeInput(&keys, &keyCount, pads) && controls.AnyPressed(keys, keyCount, pads);
	// The host's play goes on: the replay gives way once a turn after the goal is under way.
	const bool resumed = turn != goalTurn && shownPhase == PHASE_PLAYING && shownAnnouncement == ANNOUNCE_NONE;
	if (skip || resumed || !replay.Update(*world, frameTime)) {
		replaying = false;
	}
}

void NetJoinMatch::Record() {
	if (!replay.IsSetUp() || replaying || IsFrozen()) {
		recordWait = 0;
		return;
	}
	// A step of the host's physics at a time, as far as the frames give them.
	recordWait = std::min(recordWait + frameTime, GoalReplay::CAPACITY * PHYSICS_STEP);
	for (; recordWait >= PHYSICS_STEP; recordWait -= PHYSICS_STEP) {
		replay.Record(*world);
	}
}

void NetJoinMatch::UpdateGuide() {
	if (!guide.IsSetUp()) {
		return;
	}
	if (IsOurTurn()) {
		guide.Update(*world, 2, 0);
	} else {
		guide.Hide();
	}
}

void NetJoinMatch::Draw() {
	const MatchView view = {world.get(), &hud, &controls, &menu, &replay, &announcement, announcementMode, replaying,
		side == 1 || side == 2 ? world->GetDisc(side) : nullptr, screenWidth, screenHeight, frameTime};
	DrawMatchView(view);
}
