/* qemu-user 7.2 passes MAP_FIXED_NOREPLACE on as a mere hint: where the
   address is taken, it maps the block elsewhere instead of failing. Wine
   reserves its address space with that flag and keeps what it gets, so under
   qemu its reservations stray and the shared user data page no longer fits
   at its fixed address. This puts the kernel's answer back: EEXIST. Built
   freestanding, since no 32-bit C library headers are installed. */
#define MAP_FIXED 0x10
#define MAP_FIXED_NOREPLACE 0x100000
#define EINVAL 22
#define EEXIST 17
#define SYS_munmap 91
#define SYS_mmap2 192

extern int *__errno_location(void);
long raw_syscall6(long number, long a, long b, long c, long d, long e, long f);

static void *map(void *addr, unsigned long length, int prot, int flags, int fd, unsigned long long offset)
{
    long result;
    if (offset & 0xfff)
    {
        *__errno_location() = EINVAL;
        return (void *)-1;
    }
    result = raw_syscall6(SYS_mmap2, (long)addr, (long)length, prot, flags, fd, (long)(offset >> 12));
    if ((unsigned long)result > -4096UL)
    {
        *__errno_location() = (int)-result;
        return (void *)-1;
    }
    if ((flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && (void *)result != addr)
    {
        raw_syscall6(SYS_munmap, result, (long)length, 0, 0, 0, 0);
        *__errno_location() = EEXIST;
        return (void *)-1;
    }
    return (void *)result;
}

void *mmap(void *addr, unsigned long length, int prot, int flags, int fd, long offset)
{
    return map(addr, length, prot, flags, fd, (unsigned long long)(unsigned long)offset);
}

void *mmap64(void *addr, unsigned long length, int prot, int flags, int fd, long long offset)
{
    return map(addr, length, prot, flags, fd, (unsigned long long)offset);
}
