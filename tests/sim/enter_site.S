/* Enters host code at a patched site the way the host's own code would reach it:
 * the stack arguments pushed, ECX holding the object, then the site's instruction run.
 * The CALL at the site returns to site + 5, where EnterHostSite has placed a JMP back
 * here, and the registers the callee left are recorded.
 *
 * void SimEnterHostSite(uint32_t site, uint32_t ecx, const uint32_t* args,
 *                       uint32_t argc, SiteResult* out);
 * SiteResult: espBefore, espAfter, eax, edx (uint32), fpuStatusBefore, fpuStatusAfter (uint16)
 */
    .text
    .globl _SimEnterHostSite
    .globl _SimHostSiteReturn
_SimEnterHostSite:
    push %ebp
    mov %esp, %ebp
    push %ebx
    push %esi
    push %edi
    mov 16(%ebp), %esi
    mov 20(%ebp), %edx
1:  test %edx, %edx
    jz 2f
    push -4(%esi,%edx,4)
    dec %edx
    jmp 1b
2:  mov 24(%ebp), %edi
    fnstsw 16(%edi)
    mov %esp, 0(%edi)
    mov 12(%ebp), %ecx
    mov 8(%ebp), %eax
    jmp *%eax
_SimHostSiteReturn:
    mov 24(%ebp), %edi
    mov %esp, 4(%edi)
    mov %eax, 8(%edi)
    mov %edx, 12(%edi)
    fnstsw 18(%edi)
    lea -12(%ebp), %esp
    pop %edi
    pop %esi
    pop %ebx
    pop %ebp
    ret
