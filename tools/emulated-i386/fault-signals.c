/* qemu-user 7.2 delivers a guest's faults with sigcontext.trapno set to -1.
   Wine tells a page fault from an illegal instruction by trapno alone, so it
   would turn every access violation into c000001d and its services would
   crash. This wraps the fault handlers that a process installs and puts back
   the trap number the processor would have reported. */
typedef struct { int si_signo, si_errno, si_code; } signal_info_head;
typedef void (*handler_fn)(int, void *, void *);
/* The C library's struct sigaction on i386. */
struct c_sigaction { handler_fn handler; unsigned long mask[32]; int flags; void (*restorer)(void); };

extern void *dlsym(void *, const char *);
#define RTLD_NEXT ((void *)-1L)
#define SA_SIGINFO 4
#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
/* i386 ucontext: the general registers start 20 bytes in; trapno is the 13th. */
#define GREGS_OFFSET 20
#define REG_TRAPNO 12

static handler_fn installed[65];

static int trap_for(int signal, int code)
{
    switch (signal)
    {
    case SIGSEGV: return (code == 1 || code == 2) ? 14 : 13; /* page fault, else general protection */
    case SIGBUS: return 17;                                  /* alignment check */
    case SIGILL: return 6;                                   /* invalid opcode */
    case SIGFPE: return (code == 1 || code == 2) ? 0 : 16;   /* divide error, else x87 */
    case SIGTRAP: return code == 2 ? 1 : 3;                  /* single step, else breakpoint */
    }
    return 13;
}

static int is_fault(int signal)
{
    return signal == SIGILL || signal == SIGTRAP || signal == SIGBUS || signal == SIGFPE || signal == SIGSEGV;
}

static void on_fault(int signal, void *info, void *context)
{
    unsigned long *registers = (unsigned long *)((char *)context + GREGS_OFFSET);
    if (registers[REG_TRAPNO] == 0xffffffffUL)
        registers[REG_TRAPNO] = trap_for(signal, ((signal_info_head *)info)->si_code);
    installed[signal](signal, info, context);
}

int sigaction(int signal, const struct c_sigaction *action, struct c_sigaction *old)
{
    static int (*next)(int, const struct c_sigaction *, struct c_sigaction *);
    struct c_sigaction wrapped;
    handler_fn previous = (signal > 0 && signal < 65) ? installed[signal] : 0;
    int result;
    if (!next)
        next = (int (*)(int, const struct c_sigaction *, struct c_sigaction *))dlsym(RTLD_NEXT, "sigaction");
    if (action && is_fault(signal) && (action->flags & SA_SIGINFO) && (unsigned long)action->handler > 1)
    {
        wrapped = *action;
        wrapped.handler = on_fault;
        result = next(signal, &wrapped, old);
        if (!result)
            installed[signal] = action->handler;
    }
    else
    {
        result = next(signal, action, old);
        if (!result && action && signal > 0 && signal < 65)
            installed[signal] = 0;
    }
    if (!result && old && old->handler == on_fault)
        old->handler = previous;
    return result;
}
