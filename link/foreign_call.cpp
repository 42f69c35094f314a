// The 32-bit x86 thunk behind ForeignCall; see foreign_call.h for why it exists.
#include "link/foreign_call.h"

#ifdef KD_FOREIGN_CALL_THUNK

// uint32_t kd_foreign_call_thunk(const void* entry, const uint32_t* words, uint32_t count)
//
// Copies words[0..count) into a 16-byte aligned block at the top of the stack (words[0] lowest,
// where the callee looks for its first argument) and calls entry. The stack pointer is then
// taken back from ebp, which both conventions preserve, so a callee that popped its arguments
// and one that left them end up in the same place. esi is used for copying and restored.
#ifdef __ELF__
#define KD_THUNK_TYPE ".type kd_foreign_call_thunk, @function\n"
#define KD_THUNK_SIZE ".size kd_foreign_call_thunk, .-kd_foreign_call_thunk\n"
#else
#define KD_THUNK_TYPE
#define KD_THUNK_SIZE
#endif

__asm__(
    ".text\n"
    ".globl kd_foreign_call_thunk\n" KD_THUNK_TYPE
    "kd_foreign_call_thunk:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %esi\n"
    "  movl 16(%ebp), %ecx\n"  // count
    "  movl 12(%ebp), %edx\n"  // words
    "  leal 0(,%ecx,4), %eax\n"
    "  subl %eax, %esp\n"
    "  andl $-16, %esp\n"
    "1:\n"
    "  testl %ecx, %ecx\n"
    "  jz 2f\n"
    "  decl %ecx\n"
    "  movl (%edx,%ecx,4), %esi\n"
    "  movl %esi, (%esp,%ecx,4)\n"
    "  jmp 1b\n"
    "2:\n"
    "  call *8(%ebp)\n"  // entry; the result stays in eax
    "  leal -4(%ebp), %esp\n"
    "  popl %esi\n"
    "  popl %ebp\n"
    "  ret\n" KD_THUNK_SIZE);

#endif
