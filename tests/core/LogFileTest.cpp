#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/LogFile.h"

namespace {

// 2026-03-04 05:06:07 UTC
time_t FixedTime() {
	return 1772600767;
}

} // namespace

TEST(LogFile, WritesHeaderStampedLinesAtOnceAndTheClosingLine) {
	ScratchDir dir;
	setenv("TZ", "UTC", 1); // the stamps are local time; nothing else here reads the zone
	tzset();
	LogFile log;
	log.SetTimeSource(FixedTime);
	ASSERT_TRUE(log.Open("Log.txt", "Kelvane"));
	log.Write("INIT: Opening screen...", LOG_MESSAGE);
	// Still open: what a crash now would leave behind.
	EXPECT_EQ(dir.ReadText("Log.txt"), "--- Log \"Kelvane\" open on 03/04/26 05:06:07 ---\n\n"
									   "03/04/26 05:06:07 - Message: INIT: Opening screen... \n");
	log.Write("Config file not found, using default values", LOG_WARNING);
	log.Write(nullptr, LOG_MESSAGE);
	log.Write("level three", 3);
	log.Write("level minus one", -1);
	log.Write("Could not open a SDL window!", LOG_ERROR);
	log.Close();
	const std::string closed = dir.ReadText("Log.txt");
	EXPECT_EQ(closed, "--- Log \"Kelvane\" open on 03/04/26 05:06:07 ---\n"
					  "\n"
					  "03/04/26 05:06:07 - Message: INIT: Opening screen... \n"
					  "03/04/26 05:06:07 - Warning: Config file not found, using default values \n"
					  "03/04/26 05:06:07 - Error: Could not open a SDL window! \n"
					  "\n"
					  "--- Log closed on 03/04/26 05:06:07 ---\n");
	log.Write("after close", LOG_MESSAGE);
	log.Close();
	EXPECT_FALSE(log.IsOpen());
	EXPECT_EQ(dir.ReadText("Log.txt"), closed);

	LogFile nowhere;
	EXPECT_FALSE(nowhere.Open("no/such/dir/Log.txt", "T"));
	nowhere.Write("dropped", LOG_MESSAGE);
	nowhere.Close();
	EXPECT_FALSE(nowhere.IsOpen());
}

TEST(LogFile, LongLinesAreTruncatedAndStillEnded) {
	ScratchDir dir;
	LogFile log;
	ASSERT_TRUE(log.Open("Log.txt", "T"));
	std::string fits(165, 'a');
	std::string tooLong(400, 'b');
	log.Write(fits.c_str(), LOG_MESSAGE);
	log.Write(tooLong.c_str(), LOG_ERROR);
	log.Write("next", LOG_MESSAGE);
	log.Close();
	std::string text = dir.ReadText("Log.txt");
	EXPECT_NE(text.find(" - Message: " + fits + " \n"), std::string::npos);
	size_t errorAt = text.find(" - Error: ");
	ASSERT_NE(errorAt, std::string::npos);
	size_t lineStart = text.rfind('\n', errorAt) + 1;
	size_t lineEnd = text.find('\n', errorAt);
	EXPECT_EQ(lineEnd - lineStart + 1, static_cast<size_t>(LogFile::LINE_SIZE - 1));
	EXPECT_NE(text.find(" - Message: next \n", lineEnd), std::string::npos);
}

TEST(LogFile, FormattedHelperWritesThroughTheGlobalLogIfAny) {
	ScratchDir dir;
	{
		LogCapture capture;
		Log(LOG_WARNING, "SOUND: slot %d", 31);
		EXPECT_TRUE(capture.Has(" - Warning: SOUND: slot 31 \n"));
	}
	LogFile *saved = g_log;
	g_log = nullptr;
	Log(LOG_WARNING, "nowhere");
	g_log = saved;
	EXPECT_EQ(dir.ReadText("Log.txt").find("nowhere"), std::string::npos);
}

namespace {

time_t s_now = 1772600767;

time_t SteppedTime() {
	return s_now;
}

} // namespace

TEST(LogFile, RepeatedLinesCollapseAndTheFileGrowsAtMostByTheRate) {
	ScratchDir dir;
	LogFile log;
	log.SetTimeSource(SteppedTime);
	ASSERT_TRUE(log.Open("Log.txt", "T"));
	for (int i = 0; i < 1000; i++) {
		log.Write("SCRIPT: focus.lua: not run, scripts nested 8 deep", LOG_ERROR);
	}
	log.Write("SCRIPT: other", LOG_ERROR);
	log.Write("SCRIPT: other", LOG_WARNING); // another level is another line
	std::string text = dir.ReadText("Log.txt");
	EXPECT_EQ(CountOf(text, "nested 8 deep"), LogFile::REPEATS_WRITTEN);
	EXPECT_EQ(CountOf(text, "Error: ... the line above again 968 times \n"), 1) << text;
	EXPECT_EQ(CountOf(text, "SCRIPT: other"), 2);

	// Lines that all differ: a burst, then the rate; what is left out is said.
	const size_t before = text.size();
	for (int i = 0; i < 20000; i++) {
		log.Write(("SCRIPT: line " + std::to_string(i)).c_str(), LOG_ERROR);
	}
	text = dir.ReadText("Log.txt");
	EXPECT_LE(text.size() - before, static_cast<size_t>(LogFile::BURST));
	EXPECT_GT(text.size() - before, static_cast<size_t>(LogFile::BURST) / 2);
	s_now += 10;
	for (int i = 0; i < 20000; i++) {
		log.Write(("SCRIPT: later " + std::to_string(i)).c_str(), LOG_ERROR);
	}
	log.Close();
	text = dir.ReadText("Log.txt");
	EXPECT_LE(text.size() - before, static_cast<size_t>(LogFile::BURST + 10 * LogFile::RATE + 3 * LogFile::LINE_SIZE));
	EXPECT_EQ(CountOf(text, " lines left out: the log grows by at most 4096 bytes a second \n"), 2)
		<< text.substr(text.size() - 400);
	EXPECT_NE(text.find("SCRIPT: later 0 \n"), std::string::npos);
	EXPECT_NE(text.find("--- Log closed on "), std::string::npos);
}
