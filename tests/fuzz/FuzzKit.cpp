#include "FuzzKit.h"

#include <GL/gl.h>
#include <plib/ssg.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GLWindow.h"
#include "core/LogFile.h"
#include "core/ProcessStats.h"

namespace fs = std::filesystem;

namespace {

std::string s_scratch;
LogFile s_log;
bool s_ready = false;

// Directories made here, files linked: an input may be written beside any data file.
void LinkTree(const fs::path &from, const fs::path &to) {
	fs::create_directories(to);
	for (const fs::directory_entry &entry : fs::directory_iterator(from)) {
		const fs::path target = to / entry.path().filename();
		if (entry.is_directory()) {
			LinkTree(entry.path(), target);
		} else {
			fs::create_symlink(entry.path(), target);
		}
	}
}

void RemoveScratch() {
	std::error_code ignored;
	if (!s_scratch.empty() && !getenv("TAVRO_KEEP_SCRATCH")) {
		fs::remove_all(s_scratch, ignored);
	}
}

void SetUp() {
	if (s_ready) {
		return;
	}
	s_ready = true;
	const char *temp = getenv("TMPDIR");
	std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/tavro-fuzz-XXXXXX";
	if (!mkdtemp(&pattern[0])) {
		perror("fuzz: mkdtemp");
		exit(1);
	}
	s_scratch = pattern;
	atexit(RemoveScratch);
	LinkTree(TAVRO_FUZZ_DATA_DIR, fs::path(s_scratch) / "data");
	// Millions of inputs would fill a disk with their log lines: kept only when asked for.
	const char *logPath = getenv("TAVRO_FUZZ_LOG");
	s_log.Open(logPath && *logPath ? logPath : "/dev/null", "Fuzz");
	g_log = &s_log;
	if (FUZZ_TARGET.window) {
		// Never closed: closing unloads the GL driver, whose own leaks could then not be told apart.
		static GLWindow *window = new GLWindow(64, 64);
		if (!window->IsOpen()) {
			fprintf(stderr, "fuzz: no window; run under xvfb-run\n");
			exit(1);
		}
		ssgInit();
	}
}

void WriteInput(const uint8_t *data, size_t size) {
	FILE *file = fopen(FUZZ_TARGET.file, "wb");
	FuzzCheck(file != nullptr, "the input file cannot be written");
	const bool written = fwrite(data, 1, size, file) == size;
	FuzzCheck(fclose(file) == 0 && written, "the input file cannot be written");
}

// One input, its drawing finished: the GL driver frees deleted textures only then. (Without a
// swap, which would wait on a display server the machine's load may hold up for seconds.)
void Run(const uint8_t *data, size_t size) {
	FUZZ_TARGET.load(FUZZ_TARGET.file, data, size);
	if (FUZZ_TARGET.window) {
		glFinish();
	}
}

} // namespace

void FuzzCheck(bool holds, const char *what) {
	if (!holds) {
		fprintf(stderr, "fuzz: broken: %s\n", what);
		abort();
	}
}

// libFuzzer's command line names files from where it was started, but the inputs run in the
// scratch folder: the paths are made absolute first, and what is found is written where the
// fuzzer was started unless it is told otherwise.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
	static std::vector<std::string> args;
	static std::vector<char *> pointers;
	const std::string here = fs::current_path().string() + "/";
	bool prefixed = false;
	for (int i = 0; i < *argc; i++) {
		std::string arg = (*argv)[i];
		if (i > 0 && !arg.empty() && arg[0] != '-' && arg[0] != '/') {
			arg = here + arg;
		}
		for (const std::string flag : {"-artifact_prefix=", "-dict=", "-exact_artifact_path="}) {
			if (arg.rfind(flag, 0) == 0 && arg.size() > flag.size() && arg[flag.size()] != '/') {
				arg = flag + here + arg.substr(flag.size());
			}
		}
		prefixed = prefixed || arg.rfind("-artifact_prefix=", 0) == 0;
		args.push_back(arg);
	}
	if (!prefixed) {
		args.push_back("-artifact_prefix=" + here);
	}
	for (std::string &arg : args) {
		pointers.push_back(&arg[0]);
	}
	pointers.push_back(nullptr);
	*argc = static_cast<int>(args.size());
	*argv = pointers.data();
	SetUp();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
	SetUp();
	// Only now: libFuzzer starts itself again by the path it was started with (to merge).
	static const bool inScratch = chdir(s_scratch.c_str()) == 0;
	FuzzCheck(inScratch, "the scratch folder cannot be entered");
	static const bool prepared = FUZZ_TARGET.prepare ? (FUZZ_TARGET.prepare(), true) : true;
	(void)prepared;
	WriteInput(data, size);
	const int before = OpenDescriptors();
	Run(data, size);
	const int after = OpenDescriptors();
	// A library may open a file once and keep it; an input that leaks leaks on every run.
	if (after > before) {
		Run(data, size);
		FuzzCheck(OpenDescriptors() <= after, "the input leaves a file descriptor open");
	}
	return 0;
}
