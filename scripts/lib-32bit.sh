# Shared by scripts/setup and scripts/test.d/windows. Sourced, not run.
#
# runs_32bit_programs: succeeds when this machine's kernel runs 32-bit x86 programs, which
# the 32-bit Wine (and so the players' 32-bit launcher.exe) needs. Some machines of ours
# can and some cannot (a kernel without 32-bit support, or a sandbox that refuses it), and
# nothing short of trying tells them apart, so it runs the smallest 32-bit program there
# is: an ELF header and three instructions that exit with status 0. On failure it leaves
# the reason in WHY_NO_32BIT.
runs_32bit_programs() {
    WHY_NO_32BIT=
    case "$(uname -m)" in
        x86_64 | i?86) ;;
        *) WHY_NO_32BIT="this is a $(uname -m) machine, not x86"; return 1 ;;
    esac
    local probe output
    probe=$(mktemp "${TMPDIR:-/tmp}/launcher-32bit-probe-XXXXXX")
    # ELF header (32-bit, little-endian, i386, entry 0x08048054), one loadable segment,
    # then: xor ebx,ebx; mov eax,1; int 0x80 (exit(0)).
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'\
'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'\
'\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000'\
'\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010'\
'\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000'\
'\000\020\000\000\061\333\270\001\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    if output=$("$probe" 2>&1); then
        rm -f "$probe"
        return 0
    fi
    rm -f "$probe"
    WHY_NO_32BIT="the kernel does not run 32-bit x86 programs (${output##*: })"
    return 1
}
