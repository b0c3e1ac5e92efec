#!/usr/bin/env bash
# The program's PCI scans and BIOS read through the real roduru.dll: hwprobe.exe on each demo
# board must find exactly the devices the board describes and read its BIOS text, with the NT
# family's osCode (every port and memory access through the library) and with the 9x family's
# (the program's own port instructions, answered by the library's trap, and the ROM image read
# at 0xF0000); every form of the port instructions is answered as the board says; without a
# board nothing is found. The processor vendor comes from the real CPU through the Win32 adapter.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
probe_dir=$TOVA_E2E_WORK/probe
mkdir -p "$probe_dir"
cp "$E2E_TOOLS/hwprobe.exe" "$probe_dir/"
cp "$(e2e_find_program roduru.dll)" "$probe_dir/" || e2e_abort "no roduru.dll"
tova_drive h "$probe_dir"

# hwprobe ARGS...: in the prefix, output without carriage returns, saved as an artifact.
hwprobe() {
    tova_wine 'H:\hwprobe.exe' "$@" | tr -d '\r'
}

absent=0x12345678
for board in "$TOVA_SOURCE_DIR"/demo/boards/*.board; do
    name=$(basename "$board" .board)
    # A ROM image from a file would need the file beside the description; not staged here.
    if grep -q '^bios .*image=' "$board"; then continue; fi
    cp "$board" "$probe_dir/roduru.board"

    # Every function of the board: its id, its subsystem and its class dword.
    queries=("$absent")
    declare -A expect=()
    expect[$absent]=missing
    while read -r _ location rest; do
        id=$(printf '%s\n' "$rest" | grep -o 'id=0x[0-9A-Fa-f]*' | cut -d= -f2)
        class=$(printf '%s\n' "$rest" | grep -o 'class=0x[0-9A-Fa-f]*' | cut -d= -f2)
        subsys=$(printf '%s\n' "$rest" | grep -o 'subsys=0x[0-9A-Fa-f]*' | cut -d= -f2)
        bus=$((16#${location%%:*}))
        [ -n "$id" ] || continue
        class=${class:-0x00000000}
        if [ "$(grep -c "id=$id" "$board")" = 1 ]; then
            expect[$id]=$(printf 'found class=0x%04X' $(((class >> 16) & 0xFFFF)))
        else
            expect[$id]=found
        fi
        queries+=("$id")
        if [ -n "$subsys" ]; then
            queries+=("$id:$subsys" "$id:$(printf '0x%08X' $((subsys ^ 0x10000)))")
            expect[$id:$subsys]=${expect[$id]}
            expect[$id:$(printf '0x%08X' $((subsys ^ 0x10000)))]=missing
        fi
        # The revision scan covers buses 0 to 2 only.
        revision=$(printf '0x%02X' $((class & 0xFF)))
        queries+=("$id@$revision")
        if [ "$bus" -le 2 ]; then expect[$id@$revision]=found; else expect[$id@$revision]=missing; fi
    done < <(grep -E '^pci ' "$board")

    text=$(grep -E '^bios ' "$board" | grep -o 'text="[^"]*"' | sed 's/^text="//; s/"$//')
    for path in nt 9x; do
        result=$TOVA_E2E_ARTIFACTS/$name-$path.txt
        if [ "$path" = 9x ]; then hwprobe --9x "${queries[@]}"; else hwprobe "${queries[@]}"; fi \
            >"$result" 2>&1
        for query in "${queries[@]}"; do
            got=$(grep -F "pci $query " "$result" | sed -n 1p | cut -d' ' -f3-)
            e2e_expect_eq "$name ($path): $query" "${expect[$query]}" "$got"
        done
        e2e_expect_eq "$name ($path): BIOS text from the ROM image" "$text" \
            "$(grep '^bios' "$result" | sed 's/^bios *//')"
    done
    unset expect

    # Every port instruction form, on function 00:00.0 and the board's Super-I/O chip.
    superio=$(grep -E '^superio ' "$board" | sed -n 1p)
    [ -n "$superio" ] || continue
    index=$(cut -d' ' -f2 <<<"$superio")
    key=$(grep -o 'key=[^ ]*' <<<"$superio" | cut -d= -f2)
    chip=$(grep -o 'reg\.0x20=0x[0-9A-Fa-f]*' <<<"$superio" | cut -d= -f2)
    host=$(grep -E '^pci 00:00\.0 ' "$board" | grep -o 'id=0x[0-9A-Fa-f]*' | cut -d= -f2)
    host=$((${host:-0xFFFFFFFF}))
    hwprobe forms "$index" "$key" 0x20 >"$TOVA_E2E_ARTIFACTS/$name-forms.txt" 2>&1
    form() { grep "^form $1 " "$TOVA_E2E_ARTIFACTS/$name-forms.txt" | cut -d' ' -f3-; }
    e2e_expect_eq "$name: in eax, dx" "$(printf '0x%08X' "$host")" "$(form in32dx)"
    e2e_expect_eq "$name: in ax, dx (low and high word, upper half kept)" \
        "$(printf '0x%08X 0x%08X' $((0xA5A50000 | (host & 0xFFFF))) $((0xA5A50000 | (host >> 16))))" \
        "$(form in16dx)"
    e2e_expect_eq "$name: in al, dx (upper bytes kept)" "$(printf '0x%08X' $((0xA5A5A500 | (host & 0xFF))))" \
        "$(form in8dx)"
    e2e_expect_eq "$name: out dx, ax and out dx, al leave the latch" "$(printf '0x%08X' "$host")" \
        "$(form out16dx)"
    e2e_expect_eq "$name: in al, imm8 of an absent port" 0xA5A5A5FF "$(form in8imm)"
    e2e_expect_eq "$name: in ax, imm8 of an absent port" 0xA5A5FFFF "$(form in16imm)"
    e2e_expect_eq "$name: in eax, imm8 of an absent port" 0xFFFFFFFF "$(form in32imm)"
    e2e_expect_eq "$name: the chip's id through out imm8, al and in al, imm8" \
        "$(printf '0x%02X' "$chip")" "$(form superio)"
done

# No board description: every read gives all ones, nothing is found, the ROM is empty.
rm -f "$probe_dir/roduru.board"
hwprobe 0x24C58086 0x25608086 >"$TOVA_E2E_ARTIFACTS/no-board.txt" 2>&1
e2e_expect_eq "no board: nothing is found" 2 "$(grep -c ' missing$' "$TOVA_E2E_ARTIFACTS/no-board.txt")"
e2e_expect_eq "no board: the BIOS text is empty" "bios" "$(grep '^bios' "$TOVA_E2E_ARTIFACTS/no-board.txt" | sed 's/ *$//')"

# No board: the library leaves a port instruction's fault alone, as on a PC whose system does
# not let it through, and Wine reports the crash.
("$TOVA_WINE" 'H:\hwprobe.exe' forms 0x2E 0x83,0x83 0x20 >"$TOVA_E2E_ARTIFACTS/no-board-forms.txt" 2>&1) &
forms_pid=$!
if inspector wait "Program Error" 20000 >/dev/null; then
    e2e_pass "no board: a port instruction faults as without the trap (Wine's Program Error box)"
    inspector press "Program Error" Close >/dev/null || e2e_fail "no board: the crash box can be closed"
else
    e2e_fail "no board: a port instruction faults as without the trap (Wine's Program Error box)"
fi
tova_wait_exit "$forms_pid" 20 || e2e_fail "no board: hwprobe forms ends once its crash box is closed"
grep -F 'Unhandled privileged instruction' "$TOVA_E2E_ARTIFACTS/no-board-forms.txt" >/dev/null &&
    e2e_pass "no board: Wine reports the first port instruction unhandled" ||
    e2e_fail "no board: Wine reports the first port instruction unhandled"

# The identification instruction on this machine's processor, through the inline assembly.
host_vendor=$(grep -m1 '^vendor_id' /proc/cpuinfo | sed 's/.*: *//')
e2e_expect_eq "the processor vendor matches the host's" "cpu $host_vendor" \
    "$(grep '^cpu' "$TOVA_E2E_ARTIFACTS/no-board.txt")"
e2e_end
