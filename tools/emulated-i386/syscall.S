# raw_syscall6(number, a, b, c, d, e, f): a Linux i386 system call with six
# arguments, for memory-map.c, which cannot call the C library's mmap that it
# stands in for.
	.text
	.globl raw_syscall6
	.hidden raw_syscall6
	.type raw_syscall6,@function
raw_syscall6:
	push %ebp
	push %edi
	push %esi
	push %ebx
	mov 20(%esp),%eax
	mov 24(%esp),%ebx
	mov 28(%esp),%ecx
	mov 32(%esp),%edx
	mov 36(%esp),%esi
	mov 40(%esp),%edi
	mov 44(%esp),%ebp
	int $0x80
	pop %ebx
	pop %esi
	pop %edi
	pop %ebp
	ret
	.section .note.GNU-stack,"",@progbits
