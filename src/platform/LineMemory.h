#pragma once
// Where the line store's memory comes from and where it goes.
// Text lives in chunks of 16 MiB, the line entries in blocks of 512 KiB carved 32 to a chunk.
// Chunks are aligned so that the kernel can back them with transparent huge pages: a program
// of a gigabyte then costs a few hundred page faults instead of a few hundred thousand.
// A large program that lets go of its memory leaves its chunks and blocks kept for the next
// program, which writes into pages that are already there instead of waiting for the kernel
// to hand out and clear fresh ones. Kept memory goes back to the system when a small program
// lets go of its memory (small programs do not need it) and when the system runs short.
// A growing program has the next pages faulted in ahead of the writer by a background thread.
// Safe to call from any thread.
#include <cstddef>
#include <cstdint>

constexpr std::size_t kLineChunkBytes = std::size_t(1) << 24;  // 16 MiB
constexpr std::size_t kLineBlockBytes = std::size_t(1) << 19;  // 512 KiB
// A program that held less than this lets its memory go back to the system at once.
constexpr std::size_t kSmallProgramBytes = 4 * kLineChunkBytes;

// A chunk of kLineChunkBytes: a kept one when there is one, else fresh from the system.
// Throws std::bad_alloc.
char* TakeLineChunk();
// Keeps a chunk from TakeLineChunk until SettleLineMemory decides.
void KeepLineChunk(char* chunk) noexcept;

// Memory for one line longer than a chunk, never kept: its own mapping of at least bytes.
char* MapLongLineMemory(std::size_t bytes);
void UnmapLongLineMemory(char* memory, std::size_t bytes) noexcept;

// A block of kLineBlockBytes (aligned to 8 bytes). Throws std::bad_alloc.
void* TakeLineBlock();
void KeepLineBlock(void* block) noexcept;

// Asks for the pages of [memory, memory + bytes) (inside a chunk or block from here) to be
// faulted in by a background thread, so that handing out and clearing fresh pages runs beside
// the writer instead of inside it. Only a hint: returns at once, may do nothing.
void PrepareLineMemory(char* memory, std::size_t bytes) noexcept;

// Called after a store let go of its memory: a small program, or a system with less memory
// available than is kept, sends every kept chunk and every unused block back to the system.
void SettleLineMemory(bool smallProgram) noexcept;
// Sends all kept memory back to the system now.
void ReleaseKeptLineMemory() noexcept;
// Bytes kept for the next program: kept chunks and blocks not in use.
std::uint64_t KeptLineMemoryBytes() noexcept;
