/* The allocation helpers Wine's older tests use: the process heap, as in Wine. */
#ifndef WINESUITE_HEAP_H
#define WINESUITE_HEAP_H
#include <stdlib.h>
static inline void *heap_alloc(size_t size)
{
    return malloc(size);
}
static inline void *heap_alloc_zero(size_t size)
{
    return calloc(1, size);
}
static inline void *heap_realloc(void *memory, size_t size)
{
    return realloc(memory, size);
}
static inline void *heap_calloc(size_t count, size_t size)
{
    return calloc(count, size);
}
static inline void heap_free(void *memory)
{
    free(memory);
}
#endif
