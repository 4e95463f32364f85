// Scratch objects kept per thread on the hot paths, so that a warm
// comparison allocates nothing.
//
// Windows builds keep none. There the engine lives in a DLL (the add-in,
// loaded and unloaded by Excel on its calculation threads), and MinGW-w64
// emulates thread-local storage with blocks that callbacks free as each
// thread ends, under the loader lock: a process whose threads had used
// them was seen to hang as it exited. There every call makes its own
// objects instead, at the cost of a few allocations; the results are the
// same either way.
#ifndef MARROWFIELD_ENGINE_PER_THREAD_H_
#define MARROWFIELD_ENGINE_PER_THREAD_H_

#if defined(_WIN32)
#define MARROWFIELD_PER_THREAD
#else
#define MARROWFIELD_PER_THREAD thread_local
#endif

#endif  // MARROWFIELD_ENGINE_PER_THREAD_H_
