// operator new and delete on malloc and free, so that the harness can
// release a block abandoned by an interrupted read without knowing how it
// was allocated.
#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t n)
{
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t n, std::align_val_t a)
{
    auto alignment = static_cast<std::size_t>(a);
    std::size_t rounded = (n + alignment - 1) / alignment * alignment;
    if (void* p = std::aligned_alloc(alignment, rounded ? rounded : alignment)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t n)
{
    return Allocate(n);
}
void* operator new[](std::size_t n)
{
    return Allocate(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
    return std::malloc(n ? n : 1);
}
void* operator new(std::size_t n, std::align_val_t a)
{
    return AllocateAligned(n, a);
}
void* operator new[](std::size_t n, std::align_val_t a)
{
    return AllocateAligned(n, a);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
