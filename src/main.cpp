#include "core/Program.h"

int main() {
	return RunProgram();
}
