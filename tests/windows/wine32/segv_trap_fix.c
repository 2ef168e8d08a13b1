/* Preloaded into the 32-bit Wine while it runs under qemu's user-mode
 * emulation, for the tests only.
 *
 * qemu hands a guest page fault to the guest's SIGSEGV handler with the trap
 * number -1 in the signal context. Wine's i386 handler decides by that number
 * and takes -1 for an illegal instruction, so every access violation in 32-bit
 * code would arrive as STATUS_ILLEGAL_INSTRUCTION. This wraps the SIGSEGV
 * handler Wine installs and fills in the trap number a real processor reports:
 * 14 (page fault) for an unmapped or protected page, 13 otherwise.
 *
 * Built freestanding (gcc -m32 -ffreestanding, ld -m elf_i386), so it needs no
 * 32-bit headers or libraries; the layouts below are glibc's on i386. */

typedef void (*SignalHandler)(int signal, void *info, void *context);

/* struct sigaction: the handler, a 128-byte signal mask, the flags, the
 * restorer. */
struct SignalAction {
  SignalHandler handler;
  unsigned char mask[128];
  int flags;
  void (*restorer)(void);
};

typedef int (*SigactionFunction)(int, const struct SignalAction *, struct SignalAction *);

void *dlsym(void *handle, const char *name);

enum {
  kSigsegv = 11,
  kSaSiginfo = 4,
  kSegvMapErr = 1,
  kSegvAccErr = 2,
  kTrapPageFault = 14,
  kTrapProtection = 13,
  /* ucontext_t: uc_flags, uc_link and the 12-byte uc_stack come before the
   * general registers, of which REG_TRAPNO is number 12. */
  kRegistersOffset = 20,
  kTrapRegister = 12,
  /* siginfo_t: si_signo, si_errno, then si_code. */
  kCodeIndex = 2,
};

static SignalHandler wine_handler;

static void FillInTrapNumber(int signal, void *info, void *context) {
  int *registers = (int *)((char *)context + kRegistersOffset);
  if (registers[kTrapRegister] == -1) {
    const int code = ((const int *)info)[kCodeIndex];
    registers[kTrapRegister] =
        code == kSegvMapErr || code == kSegvAccErr ? kTrapPageFault : kTrapProtection;
  }
  wine_handler(signal, info, context);
}

int sigaction(int signal, const struct SignalAction *action, struct SignalAction *old) {
  static SigactionFunction real_sigaction;
  if (real_sigaction == 0) real_sigaction = (SigactionFunction)dlsym((void *)-1, "sigaction");
  /* Handlers 0 and 1 are SIG_DFL and SIG_IGN. */
  if (signal == kSigsegv && action != 0 && (action->flags & kSaSiginfo) != 0 &&
      (unsigned long)action->handler > 1) {
    struct SignalAction wrapped = *action;
    wine_handler = action->handler;
    wrapped.handler = FillInTrapNumber;
    return real_sigaction(signal, &wrapped, old);
  }
  return real_sigaction(signal, action, old);
}
