// The benchmark's allocation hook: the C allocation functions are defined here and forward to the C
// library's own; while a HeapMeter lives they also count the bytes allocated and freed. Defined in
// the executable, they serve every library of the process, Qt's included, so a heap row sees all
// that a widget allocates.
#include "bench.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZB_BENCH_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZB_BENCH_ASAN 1
#endif

#if defined(__GLIBC__) && !defined(ZB_BENCH_ASAN)

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>
#include <unistd.h>

extern "C" {
void* __libc_malloc(size_t size) noexcept;
void* __libc_calloc(size_t count, size_t size) noexcept;
void* __libc_realloc(void* pointer, size_t size) noexcept;
void* __libc_memalign(size_t alignment, size_t size) noexcept;
void __libc_free(void* pointer) noexcept;
}

namespace {

// Usable sizes, as the allocator rounds them: what a block really takes, the same on both sides.
std::atomic<long long> inUse{0};
std::atomic<bool> counting{false};

long long usable(void* pointer)
{
    return pointer && counting.load(std::memory_order_relaxed)
               ? static_cast<long long>(malloc_usable_size(pointer))
               : 0;
}

void* counted(void* pointer)
{
    inUse.fetch_add(usable(pointer), std::memory_order_relaxed);
    return pointer;
}

} // namespace

extern "C" {

void* malloc(size_t size) noexcept
{
    return counted(__libc_malloc(size));
}

void* calloc(size_t count, size_t size) noexcept
{
    return counted(__libc_calloc(count, size));
}

void* realloc(void* pointer, size_t size) noexcept
{
    const long long before = usable(pointer);
    void* moved = __libc_realloc(pointer, size);
    if (moved || size == 0) // realloc(p, 0) freed the block
        inUse.fetch_add(usable(moved) - before, std::memory_order_relaxed);
    return moved;
}

void free(void* pointer) noexcept
{
    inUse.fetch_sub(usable(pointer), std::memory_order_relaxed);
    __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) noexcept
{
    return counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(size_t alignment, size_t size) noexcept
{
    return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** result, size_t alignment, size_t size) noexcept
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* pointer = counted(__libc_memalign(alignment, size));
    if (!pointer)
        return ENOMEM;
    *result = pointer;
    return 0;
}

void* valloc(size_t size) noexcept
{
    return counted(__libc_memalign(static_cast<size_t>(sysconf(_SC_PAGESIZE)), size));
}

void* pvalloc(size_t size) noexcept
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return counted(__libc_memalign(page, (size + page - 1) / page * page));
}

} // extern "C"

bool Bench::HeapHooked()
{
    return true;
}

Bench::HeapMeter::HeapMeter()
{
    inUse.store(0, std::memory_order_relaxed);
    counting.store(true, std::memory_order_relaxed);
}

Bench::HeapMeter::~HeapMeter()
{
    counting.store(false, std::memory_order_relaxed);
}

qint64 Bench::HeapMeter::Bytes() const
{
    return inUse.load(std::memory_order_relaxed);
}

#else

bool Bench::HeapHooked()
{
    return false;
}

Bench::HeapMeter::HeapMeter() = default;
Bench::HeapMeter::~HeapMeter() = default;

qint64 Bench::HeapMeter::Bytes() const
{
    return -1;
}

#endif
