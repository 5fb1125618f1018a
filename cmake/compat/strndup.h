/* mingw's C runtime has no strndup; libmms needs it. */
#ifndef BRISVANE_COMPAT_STRNDUP_H
#define BRISVANE_COMPAT_STRNDUP_H
#include <stdlib.h>
#include <string.h>
static inline char* brisvane_strndup(const char* s, size_t n)
{
    size_t len = 0;
    while (len < n && s[len])
        ++len;
    char* copy = (char*)malloc(len + 1);
    if (copy) {
        memcpy(copy, s, len);
        copy[len] = 0;
    }
    return copy;
}
#define strndup brisvane_strndup
#endif
