#ifndef TAVRO_TESTS_SANITIZEDBUILD_H
#define TAVRO_TESTS_SANITIZEDBUILD_H

#include <gtest/gtest.h>

// Slow runs of the whole program whose paths in-process tests also take are left to the normal
// build: under the sanitizers those in-process tests check the same code far faster.
#ifdef TAVRO_SANITIZED
#define SKIP_IN_SANITIZED_BUILD(why) GTEST_SKIP() << (why)
#else
#define SKIP_IN_SANITIZED_BUILD(why) static_cast<void>(0)
#endif

#endif
