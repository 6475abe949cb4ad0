// The program's allocator: the process heap, and no exceptions. Running out
// of memory ends the program, which holds nothing that could be lost.
#include <windows.h>

#include <new>

void* operator new(std::size_t size) {
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1)) return block;
    FatalAppExitW(0, L"Out of memory.");
    ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
}

void operator delete(void* block) noexcept {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
