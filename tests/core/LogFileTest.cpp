#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "ScratchDir.h"
#include "core/LogFile.h"

namespace {

// 2026-03-04 05:06:07 UTC
time_t FixedTime() {
	return 1772600767;
}

class UtcZone {
public:
	UtcZone() {
		const char *old = getenv("TZ");
		saved = old ? old : "";
		hadZone = old != nullptr;
		setenv("TZ", "UTC", 1);
		tzset();
	}
	~UtcZone() {
		if (hadZone) {
			setenv("TZ", saved.c_str(), 1);
		} else {
			unsetenv("TZ");
		}
		tzset();
	}

private:
	std::string saved;
	bool hadZone;
};

} // namespace

TEST(LogFile, WritesHeaderStampedLinesAndClosingLine) {
	ScratchDir dir;
	UtcZone utc;
	LogFile log;
	log.SetTimeSource(FixedTime);
	ASSERT_TRUE(log.Open("Log.txt", "Kelvane"));
	log.Write("INIT: Opening screen...", LOG_MESSAGE);
	log.Write("Config file not found, using default values", LOG_WARNING);
	log.Write("Could not open a SDL window!", LOG_ERROR);
	log.Close();

	EXPECT_EQ(dir.ReadText("Log.txt"),
		"--- Log \"Kelvane\" open on 03/04/26 05:06:07 ---\n"
		"\n"
		"03/04/26 05:06:07 - Message: INIT: Opening screen... \n"
		"03/04/26 05:06:07 - Warning: Config file not found, using default values \n"
		"03/04/26 05:06:07 - Error: Could not open a SDL window! \n"
		"\n"
		"--- Log closed on 03/04/26 05:06:07 ---\n");
}

TEST(LogFile, EachLineReachesTheDiskAtOnce) {
	ScratchDir dir;
	LogFile log;
	ASSERT_TRUE(log.Open("Log.txt", "Kelvane"));
	log.Write("first", LOG_MESSAGE);
	// Still open: what a crash now would leave behind.
	std::string text = dir.ReadText("Log.txt");
	EXPECT_NE(text.find("--- Log \"Kelvane\" open on "), std::string::npos);
	EXPECT_NE(text.find(" - Message: first \n"), std::string::npos);
}

TEST(LogFile, IgnoresNullTextBadLevelsAndWritesAfterClose) {
	ScratchDir dir;
	UtcZone utc;
	LogFile log;
	log.SetTimeSource(FixedTime);
	ASSERT_TRUE(log.Open("Log.txt", "T"));
	log.Write(nullptr, LOG_MESSAGE);
	log.Write("level three", 3);
	log.Write("level minus one", -1);
	log.Close();
	std::string closed = dir.ReadText("Log.txt");
	log.Write("after close", LOG_MESSAGE);
	log.Close();
	EXPECT_FALSE(log.IsOpen());
	EXPECT_EQ(dir.ReadText("Log.txt"), closed);
	EXPECT_EQ(closed.find("level"), std::string::npos);
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

TEST(LogFile, OpenFailureDropsEveryLine) {
	ScratchDir dir;
	LogFile log;
	EXPECT_FALSE(log.Open("no/such/dir/Log.txt", "T"));
	log.Write("dropped", LOG_MESSAGE);
	log.Close();
	EXPECT_FALSE(log.IsOpen());
}

TEST(LogFile, FormattedHelperWritesThroughTheGlobalLog) {
	ScratchDir dir;
	LogFile log;
	ASSERT_TRUE(log.Open("Log.txt", "T"));
	LogFile *saved = g_log;
	g_log = &log;
	Log(LOG_WARNING, "SOUND: slot %d", 31);
	g_log = nullptr;
	Log(LOG_WARNING, "nowhere");
	g_log = saved;
	log.Close();
	std::string text = dir.ReadText("Log.txt");
	EXPECT_NE(text.find(" - Warning: SOUND: slot 31 \n"), std::string::npos);
	EXPECT_EQ(text.find("nowhere"), std::string::npos);
}
