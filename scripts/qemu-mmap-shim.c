/* Preloaded into 32-bit Wine when it runs under qemu-user (on kernels without 32-bit
 * support). qemu 7.2 treats MAP_FIXED_NOREPLACE as a mere hint: when the range is busy
 * it maps elsewhere and reports success, and Wine's address-space reservation then
 * degenerates into tens of thousands of slow calls. Give the flag its real meaning:
 * a mapping that did not land where asked is undone and fails with EEXIST. */
#define _GNU_SOURCE
#include <errno.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

void *mmap64(void *addr, size_t length, int prot, int flags, int fd, long long offset)
{
    void *result;
    if (offset & 0xfff) {
        errno = EINVAL;
        return MAP_FAILED;
    }
    result = (void *)syscall(SYS_mmap2, addr, length, prot, flags, fd,
                             (unsigned long)(offset >> 12));
    if ((flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && result != MAP_FAILED &&
        result != addr) {
        syscall(SYS_munmap, result, length);
        errno = EEXIST;
        return MAP_FAILED;
    }
    return result;
}

void *mmap(void *addr, size_t length, int prot, int flags, int fd, long offset)
{
    return mmap64(addr, length, prot, flags, fd, (long long)offset);
}
