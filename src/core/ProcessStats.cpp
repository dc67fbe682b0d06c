#include "core/ProcessStats.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>

long ResidentKilobytes() {
	FILE *file = fopen("/proc/self/statm", "r");
	if (!file) {
		return -1;
	}
	long size = 0, resident = -1;
	if (fscanf(file, "%ld %ld", &size, &resident) != 2) {
		resident = -1;
	}
	fclose(file);
	return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int OpenDescriptors() {
	DIR *dir = opendir("/proc/self/fd");
	if (!dir) {
		return -1;
	}
	int count = 0;
	while (const dirent *entry = readdir(dir)) {
		count += entry->d_name[0] != '.';
	}
	closedir(dir);
	return count - 1; // the listing's own
}
