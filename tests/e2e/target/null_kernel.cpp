// A kernel library that refuses the launcher's interface: its GetNewSock
// gives no entry. For the launcher's end-to-end test only.
#include <cstdint>

extern "C" __declspec(dllexport) std::uintptr_t GetNewSock(int) { return 0; }
