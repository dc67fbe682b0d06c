#ifndef TAVRO_BENCH_HEAPCOUNTER_H
#define TAVRO_BENCH_HEAPCOUNTER_H

// Counts the heap allocations of a benchmark: include in the one source file of a benchmark, set
// counting while the measured code runs and read allocations (all) and newAllocations (new alone,
// the C++ code's own) before and after.

#include <atomic>
#include <cstddef>
#include <new>

// Every heap allocation of the process, C and C++, goes through these while counting is on.
extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void __libc_free(void *pointer);
}

namespace {

std::atomic<bool> counting(false);
std::atomic<long> allocations(0);    // malloc, calloc, realloc and new
std::atomic<long> newAllocations(0); // new alone: the C++ code's own

void Count() {
	if (counting.load(std::memory_order_relaxed)) {
		allocations.fetch_add(1, std::memory_order_relaxed);
	}
}

} // namespace

extern "C" void *malloc(size_t size) {
	Count();
	return __libc_malloc(size);
}

extern "C" void *calloc(size_t count, size_t size) {
	Count();
	return __libc_calloc(count, size);
}

extern "C" void *realloc(void *pointer, size_t size) {
	Count();
	return __libc_realloc(pointer, size);
}

extern "C" void free(void *pointer) {
	__libc_free(pointer);
}

void *operator new(size_t size) {
	if (counting.load(std::memory_order_relaxed)) {
		newAllocations.fetch_add(1, std::memory_order_relaxed);
	}
	Count();
	void *pointer = __libc_malloc(size ? size : 1);
	if (!pointer) {
		throw std::bad_alloc();
	}
	return pointer;
}

void operator delete(void *pointer) noexcept {
	__libc_free(pointer);
}

void operator delete(void *pointer, size_t) noexcept {
	__libc_free(pointer);
}

#endif
